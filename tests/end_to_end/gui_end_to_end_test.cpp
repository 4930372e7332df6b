// The real program on a real X display (Xvfb), driven with xdotool like a user, against a virtual
// mouse that keeps the protocol's real timing: it reads the mouse, switches through the tabs,
// edits a profile with the function menu, a slider, an option and a laser step button, and
// applies; the mouse's state file and AllProfile must then hold exactly those edits. The screen
// positions of the controls and menu entries come from the program's own UI dump.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "applied_state.h"
#include "device/profile_codec.h"
#include "profile_image.h"
#include "store/button_function.h"
#include "store/profile_store.h"
#include "support/linux/desktop_driver.h"
#include "support/linux/xvfb_display.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/ui_dump_reader.h"
#include "support/virtual_mouse_process.h"
#include "support/wait_for.h"

namespace talvoro::test {
namespace {

class GuiEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(display_.empty()) << "Xvfb could not be started (scripts/test installs it)";
    }
    void TearDown() override {
        if (gui_ > 0) {
            kill(gui_, SIGTERM);
            int status = 0;
            waitpid(gui_, &status, 0);
        }
    }

    void start_gui() {
        gui_ = fork();
        if (gui_ == 0) {
            setenv("DISPLAY", display_.c_str(), 1);
            setenv("TALVORO_UI_DUMP", dump_.path().c_str(), 1);
            setenv("TALVORO_DATA_DIR", (folder_.path() + "/data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", folder_.path().c_str(), 1);
            setenv("TALVORO_DESKTOP_SETTINGS", "file", 1);
            // The program's own chooser: it reports its controls in the dump like the window.
            setenv("TALVORO_FILE_DIALOG", "toolkit", 1);
            // In the sanitizer build: the display libraries' own allocations live to the end.
            setenv("LSAN_OPTIONS", "suppressions=" TALVORO_LSAN_SUPPRESSIONS, 1);
            const std::string program = built_program("talvoro_gui");
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    // Clicks the middle of a control where the program says it is on the screen; `right_end`
    // clicks three pixels from its right edge instead (a slider's end).
    void click(const std::string& name, bool right_end = false) {
        const auto control = dump_.control(name);
        ASSERT_TRUE(control.has_value()) << name << " is not in the dump";
        const int x = right_end ? control->rect.right - 3 : control->rect.center_x();
        click_at(x, control->rect.center_y());
    }

    // Points at a menu entry, waits for it to open its submenu or highlight, then clicks it.
    void choose_from_menu(int command) {
        std::optional<DumpedRect> entry;
        ASSERT_TRUE(wait_for([&] { return (entry = dump_.menu_entry(command)).has_value(); }, 10))
            << "menu entry " << command << " is not in the dump";
        click_at(entry->center_x(), entry->center_y());
    }

    // Presses keys on whatever window has the pointer, as the desktop gives them.
    void keys(const std::vector<std::string>& names) { ASSERT_EQ(desktop_.keys(names), ""); }

    // Types `text` on whatever window has the pointer.
    void type(const std::string& text) { ASSERT_EQ(desktop_.type(text), ""); }

    // Answers the open file chooser with `path`, typed over the suggested name, which the name
    // field holds selected and focused: the pointer only goes there, for the keys to follow it.
    void choose_file(const std::string& path) {
        ASSERT_TRUE(wait_for([&] { return shown("chooser_name_edit"); }, 10)) << "no chooser";
        const auto edit = dump_.control("chooser_name_edit");
        ASSERT_TRUE(edit.has_value());
        ASSERT_EQ(desktop_.move_to(edit->rect.center_x(), edit->rect.center_y()), "");
        ASSERT_NO_FATAL_FAILURE(type(path));
        ASSERT_TRUE(wait_for([&] { return text_of("chooser_name_edit") == path; }, 10))
            << text_of("chooser_name_edit");
        click("chooser_ok_btn");
        ASSERT_TRUE(wait_for([&] { return !shown("chooser_name_edit"); }, 10))
            << "the chooser stayed open: " << text_of("chooser_status");
    }

    // Applies through `ok_button` and its confirmation, waits for AllProfile, and reads it.
    void apply_and_read_all_profiles(const char* ok_button, ProfileStore& store) {
        click(ok_button);
        ASSERT_TRUE(wait_for([&] { return shown("popup_message_ok_btn"); }, 10))
            << "no confirmation";
        click("popup_message_ok_btn");
        const std::unique_ptr<ProfileStore> saved =
            wait_for_all_profiles(folder_.path() + "/data", 30);
        ASSERT_TRUE(saved) << "the apply did not end";
        store = *saved;
    }

    void click_at(int x, int y) { ASSERT_EQ(desktop_.click_at(x, y), ""); }
    std::string text_of(const std::string& name) const { return dump_.text(name); }
    bool shown(const std::string& name) const { return dump_.shown(name); }
    bool selected(const std::string& name) const { return dump_.selected(name); }

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path() + "/hid"};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    UiDumpReader dump_{folder_.path() + "/ui.json"};
    XvfbDisplay xvfb_;
    const std::string& display_ = xvfb_.display();
    DesktopDriver desktop_{display_};
    pid_t gui_ = -1;
};

TEST_F(GuiEndToEnd, ClickingThroughTheTabsAndApplyingChangesTheMouse) {
    VirtualMouseProcess mouse(folder_.path() + "/hid");
    ASSERT_EQ(mouse.read_state().at(kStateCurrentSlot), 0);
    start_gui();
    ASSERT_TRUE(wait_for([&] { return shown("maincontrolbtn"); }, 20)) << "no window";
    // The start-up read selects the mouse's profile and lights it.
    ASSERT_TRUE(wait_for(
        [&] { return selected("profile1option") && selected("ledlightonoffoption"); }, 20));

    const char* tabs[] = {"performancebtn", "macromanagebtn", "techsupportbtn", "maincontrolbtn"};
    const char* pages[] = {"performance_root", "macromanage_root", "techsupport_root",
                           "maincontrol_root"};
    for (int i = 0; i < 4; ++i) {
        click(tabs[i]);
        EXPECT_TRUE(wait_for([&] { return shown(pages[i]); }, 10)) << pages[i];
    }

    click("profile3option");
    ASSERT_TRUE(wait_for([&] { return selected("profile3option"); }, 10));
    if (!selected("profile3_inuse_option")) {
        click("profile3_inuse_option");
    }
    click("profileokbtn");
    ASSERT_TRUE(wait_for([&] { return shown("popup_message_ok_btn"); }, 10)) << "no confirmation";
    click("popup_message_ok_btn");
    EXPECT_TRUE(wait_for([&] { return mouse.read_state().at(kStateCurrentSlot) == 2; }, 20))
        << "the apply did not reach the mouse";
    EXPECT_TRUE(wait_for([&] { return !shown("popup_message_ok_btn"); }, 10));

    // The window system's close ends the program at once.
    kill(gui_, SIGTERM);
    int status = -1;
    ASSERT_TRUE(wait_for([&] { return waitpid(gui_, &status, WNOHANG) == gui_; }, 10));
    gui_ = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// One profile edited as a person would, then applied: the mouse must hold byte for byte what the
// program's own encoding of AllProfile gives, and AllProfile must hold the edits.
TEST_F(GuiEndToEnd, EditingAProfileAndApplyingItReachesTheMouseByteForByte) {
    VirtualMouseProcess mouse(folder_.path() + "/hid");
    const std::vector<uint8_t> before = mouse.read_state();
    start_gui();
    ASSERT_TRUE(
        wait_for([&] { return selected("profile1option") && selected("ledlightonoffoption"); }, 30))
        << "the start-up read did not end";
    const std::string level1_x = text_of("laser_level1_x_label");
    ASSERT_FALSE(level1_x.empty());

    // Button 2 gets "DPI Up" from the game-function submenu.
    click("button_2_btn");
    choose_from_menu(2001);
    choose_from_menu(2020);
    ASSERT_TRUE(wait_for([&] { return text_of("button_2_btn") == "DPI Up"; }, 10))
        << text_of("button_2_btn");
    // Level 1's X resolution one step up.
    click("laser_L1X_up_btn");
    ASSERT_TRUE(wait_for(
        [&] {
            return text_of("laser_level1_x_label") == std::to_string(std::stoi(level1_x) + 200);
        },
        10))
        << text_of("laser_level1_x_label");
    // On the performance page: lift-off distance at its end, and a 250 Hz report rate.
    click("performancebtn");
    ASSERT_TRUE(wait_for([&] { return shown("performance_root"); }, 10));
    click("lift_off_distance_slider", /*right_end=*/true);
    click("usb_rate_250_option");
    ASSERT_TRUE(wait_for([&] { return selected("usb_rate_250_option"); }, 10));
    if (!selected("kprofile1_inuse_option")) {
        click("kprofile1_inuse_option");
    }

    auto store = std::make_unique<ProfileStore>();
    ASSERT_NO_FATAL_FAILURE(apply_and_read_all_profiles("kprofileokbtn", *store));
    const ProfileBlock& profile = store->profiles[0];
    EXPECT_EQ(+profile.button_function[1], kDpiUp);
    EXPECT_EQ(+profile.laser_cpi[0], std::stoi(level1_x) + 200);
    EXPECT_EQ(+profile.lift_off_level, 10);
    EXPECT_EQ(+profile.report_rate_hz, 250);

    const std::vector<uint8_t> state = mouse.read_state();
    ASSERT_EQ(state.size(), before.size());
    EXPECT_EQ(slots_unlike_store(*store, state), "");
    EXPECT_NE(std::vector<uint8_t>(state.begin(), state.begin() + 2048),
              std::vector<uint8_t>(before.begin(), before.begin() + 2048))
        << "profile 1 changed on the mouse";
    EXPECT_EQ(state.at(kStateCurrentSlot), 0);
}

// The same edits by keys alone: Tab to button 2's field, Alt+Down, the arrows into the game
// functions and Enter for DPI Up; Tab to level 1's X slider and two steps right; Ctrl+Tab to the
// performance page, Tab to 1000 Hz and Space; Tab to Apply, Enter, and Enter on the confirmation.
// The pointer only rests over the window: an X server without a window manager sends the keys
// to the window under it. The mouse must hold byte for byte what AllProfile encodes.
TEST_F(GuiEndToEnd, KeysAloneEditAndApplyAProfileByteForByte) {
    VirtualMouseProcess mouse(folder_.path() + "/hid");
    start_gui();
    ASSERT_TRUE(
        wait_for([&] { return selected("profile1option") && selected("ledlightonoffoption"); }, 30))
        << "the start-up read did not end";
    const std::string level1_x = text_of("laser_level1_x_label");
    const auto root = dump_.control("main_root");
    ASSERT_TRUE(root.has_value());
    ASSERT_EQ(desktop_.move_to(root->rect.center_x(), root->rect.center_y()), "");
    const auto tab_to = [&](const std::string& name) {
        for (int i = 0; i < 80 && dump_.focused() != name; ++i) {
            keys({"Tab"});
        }
        return wait_for([&] { return dump_.focused() == name; }, 5);
    };

    ASSERT_TRUE(tab_to("button_2_btn")) << dump_.focused();
    keys({"alt+Down"});
    ASSERT_TRUE(wait_for([&] { return dump_.menu_entry(2001).has_value(); }, 10)) << "no menu";
    keys({"Down", "Down", "Right"});
    ASSERT_TRUE(wait_for([&] { return dump_.menu_entry(2020).has_value(); }, 10)) << "no submenu";
    keys({"Return"});
    ASSERT_TRUE(wait_for([&] { return text_of("button_2_btn") == "DPI Up"; }, 10))
        << text_of("button_2_btn");

    ASSERT_TRUE(tab_to("laser_level1_x_slider")) << dump_.focused();
    keys({"Right", "Right"});
    ASSERT_TRUE(wait_for([&] { return text_of("laser_level1_x_label") != level1_x; }, 10));

    keys({"ctrl+Tab"});
    ASSERT_TRUE(wait_for([&] { return shown("performance_root"); }, 10));
    ASSERT_TRUE(tab_to("usb_rate_1000_option")) << dump_.focused();
    keys({"space"});
    ASSERT_TRUE(wait_for([&] { return selected("usb_rate_1000_option"); }, 10));
    if (!selected("kprofile1_inuse_option")) {
        ASSERT_TRUE(tab_to("kprofile1_inuse_option"));
        keys({"space"});
    }
    ASSERT_TRUE(tab_to("kprofileokbtn")) << dump_.focused();
    keys({"Return"});
    ASSERT_TRUE(wait_for([&] { return shown("popup_message_ok_btn"); }, 10)) << "no confirmation";
    keys({"Return"});
    const std::unique_ptr<ProfileStore> store = wait_for_all_profiles(folder_.path() + "/data", 30);
    ASSERT_TRUE(store) << "the apply did not end";
    const ProfileBlock& profile = store->profiles[0];
    EXPECT_EQ(+profile.button_function[1], kDpiUp);
    EXPECT_GT(+profile.laser_cpi[0], std::stoi(level1_x));
    EXPECT_EQ(std::to_string(+profile.laser_cpi[0]), text_of("laser_level1_x_label"));
    EXPECT_EQ(+profile.report_rate_hz, 1000);
    EXPECT_EQ(slots_unlike_store(*store, mouse.read_state()), "");
}

// A macro recorded from the window's own input, given to button 6 to play three times, and
// applied: the mouse holds exactly the recorded events with their delays, and the play mode.
TEST_F(GuiEndToEnd, ARecordedMacroOnAButtonReachesTheMouseWithItsPlayMode) {
    VirtualMouseProcess mouse(folder_.path() + "/hid");
    start_gui();
    ASSERT_TRUE(
        wait_for([&] { return selected("profile1option") && selected("ledlightonoffoption"); }, 30))
        << "the start-up read did not end";

    click("macromanagebtn");
    ASSERT_TRUE(wait_for([&] { return shown("macromanage_root"); }, 10));
    click("macro_new_btn");
    ASSERT_TRUE(wait_for([&] { return shown("macro_file_name_1"); }, 10)) << "no macro row";
    // The row is chosen beside its name, where the edit does not take the click.
    const auto name = dump_.control("macro_file_name_1");
    ASSERT_TRUE(name.has_value());
    click_at(name->rect.right + 40, name->rect.center_y());

    click("macro_record_btn");
    keys({"a"});
    click("macro_item_list");
    click("macro_record_stop_btn");
    ASSERT_TRUE(wait_for([&] { return !text_of("macro_type_name").empty(); }, 10))
        << "nothing was recorded";

    click("maincontrolbtn");
    ASSERT_TRUE(wait_for([&] { return shown("maincontrol_root"); }, 10));
    click("button_6_btn");
    choose_from_menu(2002);
    choose_from_menu(2041);
    ASSERT_TRUE(wait_for([&] { return shown("macro_playback_combo"); }, 10)) << "no play options";
    click("macro_playback_combo");
    std::optional<DumpedRect> n_times;
    ASSERT_TRUE(wait_for([&] { return (n_times = dump_.drop_item(1)).has_value(); }, 10))
        << "the play modes did not drop down";
    click_at(n_times->center_x(), n_times->center_y());
    ASSERT_TRUE(wait_for([&] { return shown("macro_repeattimes_edit"); }, 10));
    click("macro_repeattimes_edit");
    keys({"End", "BackSpace", "BackSpace", "BackSpace", "3"});
    click("macroplay_ok_btn");
    ASSERT_TRUE(wait_for([&] { return !shown("macroplay_ok_btn"); }, 10));

    if (!selected("profile1_inuse_option")) {
        click("profile1_inuse_option");
    }
    auto store = std::make_unique<ProfileStore>();
    ASSERT_NO_FATAL_FAILURE(apply_and_read_all_profiles("profileokbtn", *store));
    const ProfileBlock& profile = store->profiles[0];
    EXPECT_EQ(+profile.button_function[5], kMacro);
    EXPECT_EQ(+profile.button_param[5], 1);
    EXPECT_EQ(+profile.macro_play_mode[5], 3);
    // "a" pressed and released, and one left click, with the measured delays between them.
    const MacroRecord& macro = store->macro_store.macros[0];
    std::vector<std::string> steps;
    for (int i = 0; i < +macro.step_count && i < 16; ++i) {
        steps.push_back(std::string(macro.steps[i].kind) + "|" + macro.steps[i].text + "|" +
                        macro.steps[i].action);
    }
    ASSERT_EQ(steps.size(), 7u) << ::testing::PrintToString(steps);
    EXPECT_EQ(steps[0], "k| A |down");
    EXPECT_EQ(steps[2], "k| A |up");
    EXPECT_EQ(steps[4], "m|Left Click        |down");
    EXPECT_EQ(steps[6], "m|Left Click        |up");
    for (int delay : {1, 3, 5}) {
        EXPECT_EQ(steps[static_cast<size_t>(delay)].substr(0, 2), "t|") << steps[delay];
    }

    auto records = std::make_unique<DeviceRecords>();
    encode_profiles(*store, *records);
    const ProfileRecord& record = (*records)[0];
    EXPECT_EQ(record.buttons[5].function_type, kFunctionMacro);
    EXPECT_EQ(record.macros[5].event_count, 4);
    ProfileImage image{};
    pack_profile((*records)[0], image);
    const std::vector<uint8_t> state = mouse.read_state();
    ASSERT_GE(state.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), state.begin()))
        << "the mouse holds exactly the recorded events, their delays and the play mode";
}

// What talvoro_cli changes on the mouse is what the window shows at its next read.
TEST_F(GuiEndToEnd, ASettingChangedFromTheShellIsShownAtTheNextRead) {
    VirtualMouseProcess mouse(folder_.path() + "/hid");
    const ScopedEnv data("TALVORO_DATA_DIR", folder_.path() + "/data");
    const ScopedEnv desktop("TALVORO_DESKTOP_SETTINGS", "file");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set", "1", "dpi", "1", "1700x900"},
          std::vector<std::string>{"button", "1", "2", "key", "F5"}}) {
        const ProgramResult changed = run_program(built_program("talvoro_cli"), args, 30);
        ASSERT_EQ(changed.exit_status, 0) << changed.err;
    }
    start_gui();
    ASSERT_TRUE(
        wait_for([&] { return selected("profile1option") && selected("ledlightonoffoption"); }, 30))
        << "the start-up read did not end";
    EXPECT_EQ(text_of("laser_level1_x_label"), "1700");
    EXPECT_EQ(text_of("laser_level1_y_label"), "900");
    EXPECT_NE(text_of("button_2_btn").find("F5"), std::string::npos) << text_of("button_2_btn");
}

// Files that are no profile are refused with the notice and change nothing, on screen or on the
// mouse after an apply; Cancel after a macro import lists the macros of the last apply again.
TEST_F(GuiEndToEnd, ForeignProfileFilesAreRefusedAndCancelListsTheAppliedMacrosAgain) {
    VirtualMouseProcess mouse(folder_.path() + "/hid");
    start_gui();
    ASSERT_TRUE(
        wait_for([&] { return selected("profile1option") && selected("ledlightonoffoption"); }, 30))
        << "the start-up read did not end";
    ASSERT_EQ(text_of("button_1_btn"), "Left Click");
    const std::string name_before = text_of("Profilenamelabel");

    // 100 bytes, and a file of the right size with every button on Right Click.
    const std::string short_file = folder_.path() + "/short.qxp";
    std::ofstream(short_file, std::ios::binary) << std::string(100, '\x01');
    auto no_left = std::make_unique<ProfileBlock>();
    std::memset(no_left.get(), 0, sizeof(ProfileBlock));
    // By index: the block is packed, so its fields take no references.
    for (int b = 0; b < kButtonCount; ++b) {
        no_left->button_function[b] = kRightClick;
    }
    const std::string no_left_file = folder_.path() + "/noleft.qxp";
    std::ofstream(no_left_file, std::ios::binary)
        .write(reinterpret_cast<const char*>(no_left.get()), sizeof(ProfileBlock));
    for (const std::string& file : {short_file, no_left_file}) {
        click("profileloadbtn");
        ASSERT_NO_FATAL_FAILURE(choose_file(file));
        ASSERT_TRUE(wait_for([&] { return shown("notice_ok_btn"); }, 10)) << file;
        EXPECT_EQ(text_of("notice_text"), "Load the profile error .");
        click("notice_ok_btn");
        ASSERT_TRUE(wait_for([&] { return !shown("notice_ok_btn"); }, 10));
        EXPECT_EQ(text_of("button_1_btn"), "Left Click") << file;
        EXPECT_EQ(text_of("button_2_btn"), "Right Click") << file;
        EXPECT_EQ(text_of("Profilenamelabel"), name_before) << file;
    }
    if (!selected("profile1_inuse_option")) {
        click("profile1_inuse_option");
    }
    auto store = std::make_unique<ProfileStore>();
    ASSERT_NO_FATAL_FAILURE(apply_and_read_all_profiles("profileokbtn", *store));
    for (int b = 0; b < kButtonCount; ++b) {
        EXPECT_EQ(+store->profiles[0].button_function[b], kDefaultButtons[b]) << b;
    }
    auto records = std::make_unique<DeviceRecords>();
    encode_profiles(*store, *records);
    ProfileImage image{};
    pack_profile((*records)[0], image);
    const std::vector<uint8_t> state = mouse.read_state();
    ASSERT_GE(state.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), state.begin()));
    const int32_t applied_macros = store->macro_store.macro_count;

    // Two macros imported from a file, then Cancel: the lists show the applied macros again.
    auto macros = std::make_unique<MacroStore>();
    std::memset(macros.get(), 0, sizeof(MacroStore));
    macros->macro_count = applied_macros + 2;
    for (int i = 0; i < applied_macros + 2; ++i) {
        std::snprintf(macros->macros[i].name, sizeof macros->macros[i].name, "Imported %d", i + 1);
    }
    const std::string macro_file = folder_.path() + "/two.qxm";
    std::ofstream(macro_file, std::ios::binary)
        .write(reinterpret_cast<const char*>(macros.get()), sizeof(MacroStore));
    const std::string last_row = "macro_file_name_" + std::to_string(applied_macros + 2);
    click("macromanagebtn");
    ASSERT_TRUE(wait_for([&] { return shown("macromanage_root"); }, 10));
    click("macro_import_btn");
    ASSERT_NO_FATAL_FAILURE(choose_file(macro_file));
    ASSERT_TRUE(wait_for([&] { return shown(last_row); }, 10)) << "the import is not listed";
    EXPECT_EQ(text_of("macro_file_name_1"), "Imported 1");

    click("maincontrolbtn");
    ASSERT_TRUE(wait_for([&] { return shown("maincontrol_root"); }, 10));
    click("profilecancelbtn");
    click("macromanagebtn");
    ASSERT_TRUE(wait_for([&] { return shown("macromanage_root"); }, 10));
    EXPECT_TRUE(wait_for([&] { return !shown(last_row); }, 10)) << "the import is still listed";
    EXPECT_NE(text_of("macro_file_name_1"), "Imported 1");
}

}  // namespace
}  // namespace talvoro::test
