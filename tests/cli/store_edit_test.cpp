// Changes of the command line made to a store with the factory profiles: the fields each one
// writes, the rules the pages keep, and the store left whole when a change is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "cli/store_edit.h"
#include "store/button_function.h"
#include "store/key_table.h"
#include "store/store_defaults.h"
#include "store/store_text.h"
#include "support/temp_folder.h"

namespace talvoro::cli {
namespace {

class StoreEdit : public ::testing::Test {
  protected:
    StoreEdit() {
        reset_all_profiles(*store_, 105);
        add_macro(0, "Fire");
        add_macro(1, "Reload");
        store_->macro_store.macro_count = 2;
    }
    void add_macro(int index, const char* name) {
        MacroRecord& macro = store_->macro_store.macros[index];
        copy_text(macro.name, name);
        macro.step_count = 1;
        copy_text(macro.steps[0].kind, "k");
        copy_text(macro.steps[0].text, " A ");
        copy_text(macro.steps[0].action, "down");
    }
    std::string edit(const std::vector<std::string>& args) {
        const Request request = parse_request(args);
        EXPECT_EQ(request.error, "");
        return edit_store(request, *store_);
    }
    ProfileBlock& profile(int n) { return store_->profiles[n - 1]; }

    test::TempFolder folder_;
    test::ScopedEnv data_{"TALVORO_DATA_DIR", folder_.path()};
    std::unique_ptr<ProfileStore> store_ = std::make_unique<ProfileStore>();
};

TEST_F(StoreEdit, SettingsWriteTheirFieldOfTheNamedProfileOnly) {
    auto before = std::make_unique<ProfileStore>(*store_);
    ASSERT_EQ(edit({"set", "3", "dpi", "2", "1600x900"}), "");
    EXPECT_EQ(+profile(3).laser_cpi[2], 1600);
    EXPECT_EQ(+profile(3).laser_cpi[3], 900);
    ASSERT_EQ(edit({"set", "3", "rate", "250"}), "");
    ASSERT_EQ(edit({"set", "3", "lift-off", "7"}), "");
    ASSERT_EQ(edit({"set", "3", "angle-snapping", "4"}), "");
    ASSERT_EQ(edit({"set", "3", "smoothing", "on"}), "");
    ASSERT_EQ(edit({"set", "3", "power-save", "60"}), "");
    EXPECT_EQ(+profile(3).report_rate_hz, 250);
    EXPECT_EQ(+profile(3).lift_off_level, 7);
    EXPECT_EQ(+profile(3).angle_snapping_level, 4);
    EXPECT_EQ(+profile(3).smoothing, 1);
    EXPECT_EQ(+profile(3).power_save_seconds, 60);
    // Everything else, every other profile included, is as it was.
    auto expected = std::make_unique<ProfileStore>(*before);
    std::memcpy(&expected->profiles[2], &store_->profiles[2], sizeof(ProfileBlock));
    EXPECT_EQ(std::memcmp(expected.get(), store_.get(), sizeof(ProfileStore)), 0);
}

TEST_F(StoreEdit, ButtonsTakeFunctionsKeysMacrosAndTheirDefault) {
    ASSERT_EQ(edit({"button", "2", "5", "key", "page", "down"}), "");
    EXPECT_EQ(+profile(2).button_function[4], kSingleKey);
    EXPECT_EQ(+profile(2).button_param[4], key_by_name(" Page Down ")->virtual_key);
    ASSERT_EQ(edit({"button", "2", "5", "macro", "Reload", "--toggle"}), "");
    EXPECT_EQ(+profile(2).button_function[4], kMacro);
    EXPECT_EQ(+profile(2).button_param[4], 2);
    EXPECT_EQ(+profile(2).macro_play_mode[4], kPlayToggle);
    ASSERT_EQ(edit({"button", "2", "5", "default"}), "");
    EXPECT_EQ(+profile(2).button_function[4], kDefaultButtons[4]);
    EXPECT_EQ(+profile(2).button_param[4], 0);
    EXPECT_NE(edit({"button", "2", "5", "macro", "reload"}).find("no macro is named 'reload'"),
              std::string::npos)
        << "names are compared byte for byte";
}

TEST_F(StoreEdit, TheLastLeftClickStays) {
    EXPECT_NE(edit({"button", "1", "1", "Right Click"}).find("holds the last Left Click"),
              std::string::npos);
    EXPECT_EQ(+profile(1).button_function[0], kLeftClick);
    // With a second Left Click, the first may go; then the second is the last.
    ASSERT_EQ(edit({"button", "1", "8", "Left Click"}), "");
    ASSERT_EQ(edit({"button", "1", "1", "disable"}), "");
    EXPECT_NE(edit({"button", "1", "8", "key", "A"}), "");
    EXPECT_EQ(+profile(1).button_function[7], kLeftClick);
}

TEST_F(StoreEdit, ProfilesInUseAndCurrent) {
    profile(4).in_use = 0;
    EXPECT_NE(edit({"profile", "use", "4"}).find("profile 4 is not in use"), std::string::npos);
    ASSERT_EQ(edit({"profile", "enable", "4"}), "");
    ASSERT_EQ(edit({"profile", "use", "4"}), "");
    EXPECT_EQ(+store_->current_profile, 4);
    for (int p : {1, 2, 3, 5}) {
        profile(p).in_use = 0;
    }
    EXPECT_NE(edit({"profile", "disable", "4"}).find("the only profile in use"), std::string::npos);
    EXPECT_EQ(+profile(4).in_use, 1);
}

TEST_F(StoreEdit, DeletingAMacroMovesTheButtonsThatPlayedItOrALaterOne) {
    profile(1).button_function[3] = kMacro;
    profile(1).button_param[3] = 1;
    profile(5).button_function[6] = kMacro;
    profile(5).button_param[6] = 2;
    ASSERT_EQ(edit({"macro", "delete", "Fire"}), "");
    EXPECT_EQ(+store_->macro_store.macro_count, 1);
    EXPECT_EQ(field_text(store_->macro_store.macros[0].name), "Reload");
    EXPECT_EQ(+profile(1).button_function[3], kDefaultButtons[3]);
    EXPECT_EQ(+profile(5).button_param[6], 1);
    EXPECT_EQ(macro_index(*store_, "Fire"), -1);
    EXPECT_NE(edit({"macro", "delete", "Fire"}), "");
}

// Each run starts from the mouse, which keeps no names: the macro store file gives them back, and
// the macros only it holds follow.
TEST_F(StoreEdit, SavedMacrosNameTheMousesAndFollowThem) {
    auto saved = std::make_unique<MacroStore>(store_->macro_store);
    add_macro(2, "Sprint");  // in the file only
    saved->macros[2] = store_->macro_store.macros[2];
    copy_text(saved->macros[0].name, "Fire");
    saved->macros[3] = saved->macros[1];
    copy_text(saved->macros[3].name, "");  // a nameless macro is not brought in
    saved->macro_count = 4;
    // The mouse's view: its one macro plays what "Fire" plays, under the name the read gives.
    store_->macro_store.macro_count = 1;
    copy_text(store_->macro_store.macros[0].name, "MACRO_1");
    copy_text(store_->macro_store.macros[0].steps[0].text, " A ");

    add_saved_macros(*store_, *saved);
    ASSERT_EQ(+store_->macro_store.macro_count, 3);
    EXPECT_EQ(field_text(store_->macro_store.macros[0].name), "Fire");
    EXPECT_EQ(field_text(store_->macro_store.macros[1].name), "Reload");
    EXPECT_EQ(field_text(store_->macro_store.macros[2].name), "Sprint");
    EXPECT_EQ(+store_->macro_store.macros[1].number, 0);

    // No more than the fifteen the program uses.
    saved->macro_count = kMacroLimit;
    for (int m = 0; m < kMacroLimit; ++m) {
        saved->macros[m] = store_->macro_store.macros[0];
        copy_text(saved->macros[m].name, "M" + std::to_string(m));
        copy_text(saved->macros[m].steps[0].text, " B ");
    }
    add_saved_macros(*store_, *saved);
    EXPECT_EQ(+store_->macro_store.macro_count, kMacroLimit);
}

TEST_F(StoreEdit, AMacroLongerThanASlotIsFoundWhenAButtonPlaysIt) {
    MacroRecord& fire = store_->macro_store.macros[0];
    fire.step_count = 200;
    for (int s = 0; s < 200; ++s) {
        fire.steps[s] = fire.steps[0];
    }
    EXPECT_EQ(macro_too_long(*store_), -1) << "no button plays it";
    ASSERT_EQ(edit({"button", "4", "6", "macro", "Fire"}), "");
    EXPECT_EQ(macro_too_long(*store_), 0);
    fire.step_count = 128;
    EXPECT_EQ(macro_too_long(*store_), -1);
}

}  // namespace
}  // namespace talvoro::cli
