// The real main window by keys alone: Ctrl+Tab and Ctrl+Shift+Tab go round the pages, Tab walks
// the real layouts in reading order (title row, tabs, profile block, the page, bottom row), and a
// confirmation opened by Enter on Apply holds the main window's keys. The function menu by keys
// is the end-to-end keyboard test's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/key_codes.h"
#include "core/option.h"
#include "shell_fixture.h"

namespace talvoro::test {
namespace {

class KeyboardTest : public ShellTest {
  protected:
    void press(int key, intptr_t flags = 0) {
        window_->send_message(ui::WindowMessage::kKeyDown, static_cast<uintptr_t>(key), flags);
        pump();
    }
    std::string focused() const {
        const ui::CControlUI* focus = window_->manager().focus();
        return focus != nullptr ? focus->name() : std::string();
    }
    // The names Tab stops at, once round from the first.
    std::vector<std::string> tab_round() {
        std::vector<std::string> names;
        press(ui::kKeyTab);
        const std::string first = focused();
        do {
            names.push_back(focused());
            press(ui::kKeyTab);
        } while (focused() != first && names.size() < 200);
        return names;
    }
};

TEST_F(KeyboardTest, CtrlTabGoesRoundThePagesAndTabWalksEachInReadingOrder) {
    start_mouse();
    open_window();
    const char* const tabs[] = {"maincontrolbtn", "performancebtn", "macromanagebtn",
                                "techsupportbtn"};
    for (int step = 1; step <= 4; ++step) {
        press(ui::kKeyTab, ui::kKeyControlFlag);
        EXPECT_TRUE(option(tabs[step % 4])->is_selected()) << step;
    }
    press(ui::kKeyTab, ui::kKeyControlFlag | ui::kKeyShiftFlag);
    EXPECT_TRUE(option("techsupportbtn")->is_selected());
    press(ui::kKeyTab, ui::kKeyControlFlag);

    // The main control page: every stop once, the rows in the order a person reads them.
    const std::vector<std::string> round = tab_round();
    const auto at = [&](const std::string& name) {
        return std::find(round.begin(), round.end(), name) - round.begin();
    };
    for (const std::string& name : round) {
        EXPECT_EQ(std::count(round.begin(), round.end(), name), 1) << name;
    }
    const char* const reading[] = {"ledlightonoffoption",   "closebtn",          "maincontrolbtn",
                                   "techsupportbtn",        "selectlanguagecmb", "profile1option",
                                   "profileokbtn",          "button_1_btn",      "button_7_btn",
                                   "laser_level1_x_slider", "masterresetbtn",    "quitbtn"};
    for (size_t i = 1; i < std::size(reading); ++i) {
        EXPECT_LT(at(reading[i - 1]), at(reading[i]))
            << reading[i - 1] << " comes before " << reading[i];
    }
    EXPECT_EQ(at("exchange_progress_bar"), static_cast<long>(round.size())) << "it is no control";
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

}  // namespace
}  // namespace talvoro::test
