// The popups by keys: Tab walks each one's controls in reading order and round, Enter on a
// button Tab reached presses that button, else it is OK, and Escape is Cancel once an open list
// is closed.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/combo.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "diagnostics/window_driver.h"
#include "popup_owner_window.h"
#include "shell/popups/macro_play_option_wnd.h"
#include "shell/popups/message_box_wnd.h"
#include "shell/popups/popup_message_wnd.h"
#include "support/tab_round.h"

namespace talvoro::shell::test {
namespace {

using Words = std::vector<std::string>;

class PopupFocusTest : public PopupTest {
  protected:
    CMacroPlayOptionWnd* play_option(int32_t mode) {
        store->profiles[0].macro_play_mode[0] = mode;
        return CMacroPlayOptionWnd::open(0, 0, *store, owner.button());
    }

    std::unique_ptr<ProfileStore> store = std::make_unique<ProfileStore>();
};

TEST_F(PopupFocusTest, TabWalksEachPopupInReadingOrder) {
    const struct {
        const char* what;
        std::function<PopupWindow*()> open;
        Words order;
    } popups[] = {
        {"confirmation",
         [&] { return CPopupMessageWnd::open(CPopupMessageWnd::kApplySetting, owner.button()); },
         {"popup_message_ok_btn", "popup_message_cancel_btn"}},
        {"message box",
         [&] { return CMessageBoxWnd::open(CMessageBoxWnd::kMacroOverMax, owner.button()); },
         {"msgbox_close_btn", "msgbox_ok_btn"}},
        {"play option with its repeat count",
         [&] { return play_option(5); },
         {"macroplay_close_btn", "macro_playback_combo", "macro_repeattimes_edit",
          "macroplay_ok_btn", "macroplay_cancel_btn"}},
    };
    for (const auto& entry : popups) {
        SCOPED_TRACE(entry.what);
        PopupWindow* popup = entry.open();
        ASSERT_NE(popup, nullptr);
        Words round = talvoro::test::tab_round(*popup);
        // From the first in reading order, wherever the popup put the focus when it opened.
        const auto first = std::find(round.begin(), round.end(), entry.order.front());
        std::rotate(round.begin(), first, round.end());
        EXPECT_EQ(round, entry.order);
        popup->close();
        owner.deliver();
        popup_open = 0;
    }
}

TEST_F(PopupFocusTest, EnterPressesTheButtonTabReachedElseOkAndEscapeCancelsAfterAnOpenList) {
    CPopupMessageWnd* confirmation =
        CPopupMessageWnd::open(CPopupMessageWnd::kApplySetting, owner.button());
    ASSERT_NE(confirmation, nullptr);
    while (talvoro::test::focused_name(*confirmation) != "popup_message_cancel_btn") {
        ui::press_key(*confirmation, ui::kKeyTab);
    }
    // Its release is nobody's: the popup is gone.
    confirmation->send_message(ui::WindowMessage::kKeyDown, ui::kKeyReturn);
    EXPECT_FALSE(popup_alive(confirmation));
    EXPECT_EQ(owner.deliver(), Words{"apply_new_setting_cancel:owner_btn"});

    owner.results.seen.clear();
    CMacroPlayOptionWnd* popup = play_option(1);
    ASSERT_NE(popup, nullptr);
    auto* combo = dynamic_cast<ui::CComboUI*>(popup->control("macro_playback_combo"));
    ASSERT_NE(combo, nullptr);
    popup->manager().set_focus(combo);
    popup->send_message(ui::WindowMessage::kKeyDown, ui::kKeyDown, ui::kKeyAltFlag);
    ASSERT_TRUE(combo->is_open());
    popup->send_message(ui::WindowMessage::kKeyDown, ui::kKeyEscape);
    EXPECT_FALSE(combo->is_open());
    EXPECT_TRUE(popup_alive(popup)) << "Escape closed the list only";
    popup->send_message(ui::WindowMessage::kKeyDown, ui::kKeyEscape);
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_EQ(owner.deliver(), Words{"macro_playoption_cancel:owner_btn"});

    owner.results.seen.clear();
    popup = play_option(1);
    ASSERT_NE(popup, nullptr);
    popup->send_message(ui::WindowMessage::kKeyDown, ui::kKeyReturn);
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_EQ(owner.deliver(), Words{"macro_playoption_ok:owner_btn"});
}

}  // namespace
}  // namespace talvoro::shell::test
