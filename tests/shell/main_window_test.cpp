// The main window's start-up read, window-level actions, confirmations and input lock.
#include <filesystem>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/slider.h"
#include "core/tab_layout.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/popups/popup_state.h"
#include "shell_fixture.h"
#include "sleep.h"
#include "store/button_function.h"
#include "store/macro_files.h"
#include "store/store_text.h"
#include "talvoro_api.h"

namespace talvoro::test {
namespace {

// Bytes of the virtual mouse's state file.
constexpr size_t kStateCurrentSlot = 10240;
constexpr size_t kStateLed = 10241;  // 1: blacked out

std::vector<char> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Puts the mouse on `slot` with its lights off, as another program might have left it.
void prepare_mouse(int slot) {
    ASSERT_EQ(::Open_QX_device(), 1);
    ASSERT_EQ(::Set_current_profile_id(slot), QX_STATUS_DONE);
    ASSERT_EQ(::Set_LED_black_out(), QX_STATUS_DONE);
    ::Close_QX_device();
}

TEST_F(ShellTest, EveryControlTheProgramLooksUpIsInTheLayouts) {
    open_window();
    const auto& lookups = window_->controls().lookups;
    ASSERT_GT(lookups.size(), 120u);
    for (const auto& lookup : lookups) {
        EXPECT_TRUE(lookup.found) << "missing or of another kind: " << lookup.name;
    }
    // The pages were made by the window's builder callback and built their own layouts.
    for (const char* root :
         {"maincontrol_root", "performance_root", "macromanage_root", "techsupport_root"}) {
        EXPECT_NE(control(root), nullptr) << root;
    }
    EXPECT_EQ(window_->caption_band(), (ui::Rect{0, 0, 80, 40}));
}

TEST_F(ShellTest, TheStartUpReadShowsTheMousesProfileAndLightsIt) {
    auto& mouse = start_mouse();
    prepare_mouse(2);
    open_window();
    EXPECT_FALSE(window_->device_absent());
    EXPECT_EQ(window_->current_profile_slot(), 2);
    EXPECT_EQ(+store_->current_profile, 3);
    EXPECT_TRUE(option("profile3option")->is_selected());
    EXPECT_TRUE(option("kprofile3option")->is_selected());
    EXPECT_FALSE(option("profile1option")->is_selected());
    EXPECT_TRUE(option("ledlightonoffoption")->is_selected());
    EXPECT_EQ(+store_->led_on, 1);
    EXPECT_EQ(mouse.read_state().at(kStateLed), 0) << "the lights are switched on at start";
    for (int i = 0; i < 5; ++i) {
        const std::string n = std::to_string(i + 1);
        EXPECT_EQ(option(("profile" + n + "_inuse_option").c_str())->is_selected(),
                  store_->profiles[i].in_use != 0);
        EXPECT_EQ(option(("kprofile" + n + "_inuse_option").c_str())->is_selected(),
                  store_->profiles[i].in_use != 0);
    }
    EXPECT_EQ(window_->current_main_tab(), 0);
    EXPECT_TRUE(option("maincontrolbtn")->is_selected());
    EXPECT_TRUE(notices_.shown.empty());
}

TEST_F(ShellTest, AMouseThatCannotBeReadIsToldAndShowsTheFactorySettings) {
    start_mouse({"--refuse", "0x07"});
    open_window();
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text, shell::text(shell::TextRow::kReadFailed, 0));
    EXPECT_EQ(notices_.shown[0].caption, "Notice by App");
    EXPECT_EQ(+store_->profiles[0].button_function[0], kLeftClick);
}

TEST_F(ShellTest, WithoutAMouseTheFirstTouchAsksOnceAndOkAsksAgain) {
    open_window();
    EXPECT_TRUE(window_->device_absent());
    EXPECT_TRUE(popups().empty()) << "no popup until the window is touched";

    // The click is swallowed: the profile does not change, the popup comes instead.
    click("profile2option");
    EXPECT_EQ(window_->current_profile_slot(), 0);
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_EQ(window_->popup_flags() & kNotDetectedShown, kNotDetectedShown);
    move_pointer(500, 300);
    move_pointer(510, 300);
    EXPECT_EQ(popups().size(), 1u) << "the popup does not stack";

    click_in_popup("popup_message_ok_btn");
    EXPECT_EQ(popups().size(), 1u) << "OK while the mouse is still absent brings it back";
    EXPECT_EQ(window_->popup_flags() & kNotDetectedShown, kNotDetectedShown);

    click_in_popup("popup_message_cancel_btn");
    EXPECT_TRUE(popups().empty());
    EXPECT_EQ(window_->popup_flags(), 0u);
    move_pointer(500, 300);
    EXPECT_EQ(popups().size(), 1u) << "the next move asks again";
}

TEST_F(ShellTest, QuitStaysReachableWhileTheMouseIsAbsent) {
    open_window();
    ASSERT_TRUE(window_->device_absent());
    click("quitbtn");
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_EQ(window_->popup_flags(), shell::kExitConfirmShown);
    click_in_popup("popup_message_ok_btn");
    EXPECT_TRUE(window_->quit_requested());
}

TEST_F(ShellTest, ApplyWritesTheMouseAndBothStoreFiles) {
    auto& mouse = start_mouse();
    open_window();
    click("profile4option");
    ASSERT_EQ(window_->current_profile_slot(), 3);
    store_->profiles[3].in_use = 1;
    store_->profiles[3].button_function[1] = kDpiUp;

    click("profileokbtn");
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_EQ(window_->popup_flags(), shell::kApplyConfirmShown);
    // Any confirmation open: a second one is not opened.
    click("quitbtn");
    click("masterresetbtn");
    EXPECT_EQ(popups().size(), 1u);
    EXPECT_EQ(window_->popup_flags(), shell::kApplyConfirmShown);

    click_in_popup("popup_message_ok_btn");
    EXPECT_TRUE(popups().empty());
    EXPECT_EQ(window_->popup_flags(), 0u);
    EXPECT_EQ(+store_->current_profile, 4);
    EXPECT_EQ(mouse.read_state().at(kStateCurrentSlot), 3);

    const std::vector<char> all = file_bytes(all_profiles_path());
    ASSERT_EQ(all.size(), sizeof(ProfileStore));
    EXPECT_EQ(std::memcmp(all.data(), store_.get(), sizeof(ProfileStore)), 0);
    EXPECT_EQ(file_bytes(macro_store_path()).size(), sizeof(MacroStore));
    EXPECT_TRUE(notices_.shown.empty());

    // What the mouse now holds reads back into a fresh window.
    window_.reset();
    store_ = std::make_unique<ProfileStore>();
    open_window();
    EXPECT_EQ(window_->current_profile_slot(), 3);
    EXPECT_EQ(+store_->profiles[3].button_function[1], kDpiUp);
}

TEST_F(ShellTest, CancellingTheApplyChangesNothing) {
    auto& mouse = start_mouse();
    open_window();
    click("profile2option");
    click("performancebtn");
    click("kprofileokbtn");
    ASSERT_EQ(popups().size(), 1u);
    click_in_popup("popup_message_cancel_btn");
    EXPECT_EQ(window_->popup_flags(), 0u);
    EXPECT_EQ(mouse.read_state().at(kStateCurrentSlot), 0);
    EXPECT_TRUE(file_bytes(all_profiles_path()).empty());
}

TEST_F(ShellTest, ApplyWithNoProfileInUseOnlyExplains) {
    start_mouse();
    open_window();
    for (int i = 1; i <= 5; ++i) {
        const std::string name = "profile" + std::to_string(i) + "_inuse_option";
        if (option(name.c_str())->is_selected()) {
            click(name.c_str());
        }
    }
    for (const ProfileBlock& profile : store_->profiles) {
        ASSERT_EQ(+profile.in_use, 0);
    }
    click("profileokbtn");
    EXPECT_TRUE(popups().empty());
    EXPECT_EQ(window_->popup_flags(), 0u);
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text,
              "Please select at least one of the five\n profiles to start customization.");
    EXPECT_EQ(notices_.shown[0].caption, "Notice by App");
}

TEST_F(ShellTest, InUseSwitchesOfEitherBlockSetTheProfilesFlag) {
    start_mouse();
    open_window();
    const bool before = store_->profiles[4].in_use != 0;
    click("performancebtn");
    click("kprofile5_inuse_option");
    EXPECT_EQ(+store_->profiles[4].in_use != 0, !before);
    click("maincontrolbtn");
    EXPECT_EQ(option("profile5_inuse_option")->is_selected(), !before) << "both blocks agree";
    click("profile5_inuse_option");
    EXPECT_EQ(+store_->profiles[4].in_use != 0, before);
}

TEST_F(ShellTest, ResetAllRewritesEverythingAndShowsProfileOne) {
    auto& mouse = start_mouse();
    open_window();
    click("profile3option");
    store_->profiles[0].button_function[0] = kDisable;
    click("masterresetbtn");
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_EQ(window_->popup_flags(), shell::kResetConfirmShown);
    click_in_popup("popup_message_ok_btn");

    EXPECT_EQ(+store_->profiles[0].button_function[0], kLeftClick);
    EXPECT_EQ(+store_->current_profile, 1);
    EXPECT_EQ(window_->current_profile_slot(), 0);
    EXPECT_TRUE(option("profile1option")->is_selected());
    EXPECT_TRUE(option("kprofile1option")->is_selected());
    EXPECT_EQ(mouse.read_state().at(kStateCurrentSlot), 0);
    EXPECT_EQ(file_bytes(all_profiles_path()).size(), sizeof(ProfileStore));
    EXPECT_EQ(file_bytes(macro_store_path()).size(), sizeof(MacroStore));
}

TEST_F(ShellTest, AFailedApplyIsToldAndTheFilesStillKeepTheEdits) {
    start_mouse({"--refuse", "0x08"});
    open_window();
    store_->profiles[0].in_use = 1;
    click("profileokbtn");
    click_in_popup("popup_message_ok_btn");
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text, shell::text(shell::TextRow::kApplyFailed, 0));
    EXPECT_EQ(file_bytes(all_profiles_path()).size(), sizeof(ProfileStore));
}

// What the bottom row showed each time the library waited inside an exchange.
std::vector<std::string> g_progress_seen;
const ui::CControlUI* g_progress_label = nullptr;

void record_progress(std::chrono::milliseconds) {
    if (g_progress_label != nullptr) {
        g_progress_seen.push_back(g_progress_label->text());
    }
}

// A long exchange shows how far it has come in the interface language, and hides it after; a
// settings file that cannot be written is told with its name and the reason.
TEST_F(ShellTest, ApplyShowsItsProgressAndTellsWhichFileCouldNotBeSaved) {
    start_mouse();
    open_window();
    shell::set_language_index(3);
    g_progress_label = control("exchange_progress_label");
    ASSERT_NE(g_progress_label, nullptr);
    EXPECT_EQ(g_progress_label->text(), "");
    // Both files' places are taken by folders, so neither can be replaced.
    ASSERT_TRUE(std::filesystem::create_directory(all_profiles_path()));
    ASSERT_TRUE(std::filesystem::create_directory(macro_store_path()));

    set_sleep_function(&record_progress);
    store_->profiles[0].in_use = 1;
    click("profileokbtn");
    click_in_popup("popup_message_ok_btn");
    set_sleep_function(nullptr);
    g_progress_label = nullptr;

    // Each profile write waits twice inside the library, the select once; the commands of the
    // page refresh that follows (lighting, firmware version) wait with the progress gone.
    const auto hidden = std::find(g_progress_seen.begin(), g_progress_seen.end(), "");
    const std::vector<std::string> during(g_progress_seen.begin(), hidden);
    ASSERT_EQ(during.size(), 11u);
    EXPECT_EQ(during[0], "Profil 1 von 5 wird in die Maus geschrieben …");
    EXPECT_EQ(during[9], "Profil 5 von 5 wird in die Maus geschrieben …");
    EXPECT_EQ(during[10], "Profil 1 wird in der Maus aktiviert …");
    EXPECT_TRUE(std::all_of(hidden, g_progress_seen.end(), [](const std::string& seen) {
        return seen.empty();
    })) << "the progress never comes back after the exchange";
    EXPECT_EQ(control("exchange_progress_label")->text(), "") << "emptied once done";
    const auto* bar = dynamic_cast<ui::CSliderUI*>(control("exchange_progress_bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(bar->bk_color().is_none()) << "no track left in the bottom row";

    ASSERT_EQ(notices_.shown.size(), 2u);
    for (const auto& [notice, path] : {std::pair{notices_.shown[0], all_profiles_path()},
                                       std::pair{notices_.shown[1], macro_store_path()}}) {
        EXPECT_NE(notice.text.find("konnten nicht gespeichert werden"), std::string::npos);
        EXPECT_NE(notice.text.find(path), std::string::npos) << notice.text;
        EXPECT_NE(notice.text.find(std::strerror(EISDIR)), std::string::npos) << notice.text;
        EXPECT_EQ(notice.caption, "Notice by App");
    }
}

TEST_F(ShellTest, TheLightingSwitchReachesTheMouseAtOnce) {
    auto& mouse = start_mouse();
    open_window();
    ASSERT_TRUE(option("ledlightonoffoption")->is_selected());
    click("ledlightonoffoption");
    EXPECT_EQ(+store_->led_on, 0);
    EXPECT_EQ(mouse.read_state().at(kStateLed), 1);
    click("ledlightonoffoption");
    EXPECT_EQ(+store_->led_on, 1);
    EXPECT_EQ(mouse.read_state().at(kStateLed), 0);
}

TEST_F(ShellTest, TabsSwitchThePagesAndRefreshOnlyOnAChange) {
    start_mouse();
    open_window();
    auto* tabs = dynamic_cast<ui::CTabLayoutUI*>(control("Tabs"));
    ASSERT_NE(tabs, nullptr);
    const char* names[] = {"maincontrolbtn", "performancebtn", "macromanagebtn", "techsupportbtn"};
    for (int tab : {1, 2, 3, 0, 1}) {
        click(names[tab]);
        EXPECT_EQ(tabs->selected_index(), tab);
        EXPECT_EQ(window_->current_main_tab(), tab);
    }
    // The performance page shown again: no refresh, so a name written meanwhile stays.
    control("kProfilenamelabel")->set_text("kept");
    click("performancebtn");
    EXPECT_EQ(control("kProfilenamelabel")->text(), "kept");
}

TEST_F(ShellTest, ThePageRefreshShowsTheProfileNameWithoutItsExtension) {
    start_mouse();
    open_window();
    copy_text(store_->profiles[1].file_name, "Sniper.QXP");
    copy_text(store_->profiles[2].file_name, ".qxp");
    click("profile2option");
    EXPECT_EQ(control("Profilenamelabel")->text(), "Sniper");
    EXPECT_EQ(control("kProfilenamelabel")->text(), "Sniper");
    click("performancebtn");
    click("kprofile3option");
    EXPECT_EQ(control("Profilenamelabel")->text(), ".qxp");
    EXPECT_TRUE(option("profile3option")->is_selected());
}

TEST_F(ShellTest, WhileAPopupIsUpTheWindowIgnoresThePointer) {
    start_mouse();
    open_window();
    click("closebtn");
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_EQ(shell::popup_open, 1);
    click("profile2option");
    EXPECT_EQ(window_->current_profile_slot(), 0);
    click_in_popup("popup_message_cancel_btn");
    EXPECT_EQ(shell::popup_open, 0);
    EXPECT_FALSE(window_->quit_requested());
    click("profile2option");
    EXPECT_EQ(window_->current_profile_slot(), 1);
}

TEST_F(ShellTest, AWindowSystemCloseEndsTheProgramAtOnce) {
    start_mouse();
    open_window();
    window_->close();
    EXPECT_TRUE(window_->quit_requested());
    EXPECT_TRUE(popups().empty());
}

TEST_F(ShellTest, LoadAndSaveUseTheDialogsAndCancelGoesBackToTheLastApply) {
    start_mouse();
    open_window();
    store_->profiles[0].in_use = 1;
    store_->profiles[0].button_function[4] = kDpiDown;
    const std::string path = data_folder_ + "profile/fast.qxp";
    dialogs_.answers = {path};
    click("profilesavebtn");
    EXPECT_EQ(control("Profilenamelabel")->text(), "fast");

    // Loaded into another slot.
    click("profile2option");
    click("performancebtn");
    dialogs_.answers = {path};
    click("kprofileloadbtn");
    EXPECT_EQ(+store_->profiles[1].button_function[4], kDpiDown);
    EXPECT_EQ(control("kProfilenamelabel")->text(), "fast");

    // Cancel restores the state of the last apply: none yet, so the file is missing and
    // nothing changes but the pages.
    click("kprofilecancelbtn");
    EXPECT_EQ(+store_->profiles[1].button_function[4], kDpiDown);
    EXPECT_TRUE(dialogs_.notices.empty());
}

}  // namespace
}  // namespace talvoro::test
