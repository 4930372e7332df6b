// The real main window by keys alone: Ctrl+Tab and Ctrl+Shift+Tab go round the pages, Tab walks
// each page of the real layouts in reading order (title row, tabs, profile block, the page,
// bottom row), a confirmation opened by Enter on Apply holds the main window's keys, Alt+Down
// opens a button field's menu, the arrows choose within an option group, and the macro lists
// take Delete and F2. Choosing from the function menu by keys is the end-to-end keyboard test's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/edit.h"
#include "core/key_codes.h"
#include "core/list.h"
#include "core/option.h"
#include "shell/pages/oskel_macro_manage_ui.h"
#include "shell_fixture.h"
#include "store/store_text.h"
#include "support/tab_round.h"

namespace talvoro::test {
namespace {

class KeyboardTest : public ShellTest {
  protected:
    void press(int key, intptr_t flags = 0) {
        window_->send_message(ui::WindowMessage::kKeyDown, static_cast<uintptr_t>(key), flags);
        pump();
    }
    std::string focused() const { return focused_name(*window_); }
};

// Ctrl+Tab goes round the pages; on each, Tab visits every stop once, these in this order (title
// row, tabs, profile block, the page's fields, bottom row), and no field of a page not shown.
TEST_F(KeyboardTest, CtrlTabGoesRoundThePagesAndTabWalksEachInReadingOrder) {
    start_mouse();
    open_window();
    const struct {
        const char* tab;
        std::vector<std::string> order;
    } pages[] = {
        {"maincontrolbtn",
         {"ledlightonoffoption", "closebtn", "maincontrolbtn", "techsupportbtn",
          "selectlanguagecmb", "profile1option", "profileokbtn", "button_1_btn", "button_7_btn",
          "laser_level1_x_slider", "masterresetbtn", "quitbtn"}},
        {"performancebtn",
         {"ledlightonoffoption", "selectlanguagecmb", "kprofile1option", "kprofile5_inuse_option",
          "kprofileokbtn", "scroll_wheel_speed_slider", "pointer_acceleration_slider",
          "lift_off_distance_slider", "angle_snapping_slider", "usb_rate_125_option",
          "usb_rate_1000_option", "power_save_no_option", "smoothing_on_option", "masterresetbtn",
          "quitbtn"}},
        {"macromanagebtn",
         {"ledlightonoffoption", "selectlanguagecmb", "macro_name_list", "macro_new_btn",
          "macro_export_btn", "macro_item_list", "macro_record_btn", "ignore_delay_option",
          "default_delay_time_edit", "insert_mouse_event_btn", "insert_delay_time_edit",
          "edit_delay_time_edit", "masterresetbtn", "quitbtn"}},
        {"techsupportbtn",
         {"ledlightonoffoption", "selectlanguagecmb", "update_app_btn", "update_fw_btn",
          "websitelinkbtn", "socialnetworklinkbtn", "masterresetbtn", "quitbtn"}},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.tab);
        ASSERT_TRUE(option(page.tab)->is_selected());
        std::vector<std::string> round = tab_round(*window_);
        // From the title row on, wherever the page change left the focus.
        std::rotate(round.begin(), std::find(round.begin(), round.end(), page.order.front()),
                    round.end());
        std::vector<std::string> seen;
        for (const std::string& name : round) {
            EXPECT_EQ(std::count(round.begin(), round.end(), name), 1) << name;
            if (std::find(page.order.begin(), page.order.end(), name) != page.order.end()) {
                seen.push_back(name);
            }
        }
        EXPECT_EQ(seen, page.order);
        EXPECT_EQ(std::count(round.begin(), round.end(), "button_1_btn"), &page == pages ? 1 : 0);
        EXPECT_EQ(std::count(round.begin(), round.end(), "exchange_progress_bar"), 0);
        press(ui::kKeyTab, ui::kKeyControlFlag);
    }
    EXPECT_TRUE(option("maincontrolbtn")->is_selected()) << "round to the first page";
    press(ui::kKeyTab, ui::kKeyControlFlag | ui::kKeyShiftFlag);
    EXPECT_TRUE(option("techsupportbtn")->is_selected());
}

TEST_F(KeyboardTest, EnterOnApplyOpensItsConfirmationWhichHoldsTheWindowsKeys) {
    start_mouse();
    open_window();
    window_->manager().set_focus(control("profileokbtn"));
    press(ui::kKeyReturn);
    ASSERT_EQ(popups().size(), 1u) << "no confirmation";
    press(ui::kKeyTab, ui::kKeyControlFlag);
    EXPECT_TRUE(option("maincontrolbtn")->is_selected()) << "the page changed under the popup";
    EXPECT_EQ(focused(), "profileokbtn");
}

TEST_F(KeyboardTest, AltDownOpensAButtonFieldsMenuAndArrowsChooseTheReportRate) {
    start_mouse();
    open_window();
    window_->manager().set_focus(control("button_2_btn"));
    press(ui::kKeyDown);
    EXPECT_EQ(window_->manager().overlay_count(), 0u) << "Down alone opens no menu";
    press(ui::kKeyDown, ui::kKeyAltFlag);
    EXPECT_EQ(window_->manager().overlay_count(), 1u);
    press(ui::kKeyUp, ui::kKeyAltFlag);
    EXPECT_EQ(window_->manager().overlay_count(), 0u);

    press(ui::kKeyTab, ui::kKeyControlFlag);
    const int slot = window_->current_profile_slot();
    ASSERT_GE(slot, 0);
    window_->manager().set_focus(control("usb_rate_125_option"));
    press(ui::kKeySpace);
    ASSERT_EQ(+store_->profiles[slot].report_rate_hz, 125);
    const struct {
        int key;
        const char* lands;
        int hz;
    } steps[] = {{ui::kKeyRight, "usb_rate_250_option", 250},
                 {ui::kKeyDown, "usb_rate_500_option", 500},
                 {ui::kKeyRight, "usb_rate_1000_option", 1000},
                 {ui::kKeyRight, "usb_rate_125_option", 125},
                 {ui::kKeyLeft, "usb_rate_1000_option", 1000}};
    for (const auto& step : steps) {
        press(step.key);
        EXPECT_EQ(focused(), step.lands);
        EXPECT_EQ(+store_->profiles[slot].report_rate_hz, step.hz) << step.lands;
    }
}

// The macro lists: the arrows select (the steps shown follow the macro), F2 renames and the keys
// go on from the list after Enter, Delete deletes the selected step or macro.
TEST_F(KeyboardTest, MacroListsTakeArrowsDeleteAndF2) {
    start_mouse();
    open_window();
    click("macromanagebtn");
    for (int i = 0; i < 3; ++i) {
        click("macro_new_btn");
    }
    auto* names = dynamic_cast<ui::CListUI*>(control("macro_name_list"));
    auto* steps = dynamic_cast<ui::CListUI*>(control("macro_item_list"));
    ASSERT_NE(names, nullptr);
    ASSERT_NE(steps, nullptr);
    window_->manager().set_focus(names);
    press(ui::kKeyHome);
    press(ui::kKeyDown);
    ASSERT_EQ(names->get_cur_sel(), 1);
    EXPECT_EQ(window_->macro_page()->current_macro(), 1);

    press(ui::kKeyF2);
    auto* edit = dynamic_cast<ui::CEditUI*>(window_->manager().focus());
    ASSERT_NE(edit, nullptr) << "F2 gives the name's edit the keys";
    EXPECT_FALSE(edit->is_readonly());
    edit->set_text("Sprint");
    press(ui::kKeyReturn);
    EXPECT_EQ(field_text(store_->macro_store.macros[1].name), "Sprint");
    EXPECT_EQ(focused(), "macro_name_list");

    for (int i = 0; i < 2; ++i) {
        click("insert_delay_time_btn");
    }
    ASSERT_EQ(+store_->macro_store.macros[1].step_count, 2);
    window_->manager().set_focus(steps);
    press(ui::kKeyEnd);
    press(ui::kKeyDelete);
    EXPECT_EQ(+store_->macro_store.macros[1].step_count, 1);

    window_->manager().set_focus(names);
    press(ui::kKeyDelete);
    ASSERT_EQ(+store_->macro_store.macro_count, 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NE(field_text(store_->macro_store.macros[i].name), "Sprint") << i;
    }
}

}  // namespace
}  // namespace talvoro::test
