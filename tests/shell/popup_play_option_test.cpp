// The macro play-option popup: preselection from the store, the words OK leaves, the repeat
// count check with its message box, and the popup's deafness while that box is up.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/combo.h"
#include "core/key_codes.h"
#include "diagnostics/window_driver.h"
#include "popup_owner_window.h"
#include "shell/popups/macro_play_option_wnd.h"
#include "shell/popups/message_box_wnd.h"
#include "store/button_function.h"

namespace talvoro::shell::test {
namespace {

using Words = std::vector<std::string>;

constexpr int kButton = 4;
constexpr int kProfile = 2;

class PlayOptionTest : public PopupTest {
  protected:
    CMacroPlayOptionWnd* open_with_mode(int32_t mode) {
        store->profiles[kProfile].macro_play_mode[kButton] = mode;
        return CMacroPlayOptionWnd::open(kButton, kProfile, *store, owner.button());
    }
    static ui::CComboUI* combo(CMacroPlayOptionWnd* popup) {
        return dynamic_cast<ui::CComboUI*>(popup->control("macro_playback_combo"));
    }
    static bool repeat_count_shown(CMacroPlayOptionWnd* popup) {
        return popup->control("macro_repeattimes_label")->visible() &&
               popup->control("macro_repeattimes_edit")->visible();
    }
    // Replaces the repeat count as a user would: click, erase, type.
    static void type_count(CMacroPlayOptionWnd* popup, const std::string& count) {
        ASSERT_TRUE(ui::click_control(*popup, "macro_repeattimes_edit"));
        for (int i = 0; i < 3; ++i) {
            ui::press_key(*popup, ui::kKeyBack);
        }
        ui::type_text(*popup, count);
    }
    static std::vector<int> words() {
        std::vector<int> w;
        for (int i = 0; i < 6; ++i) {
            w.push_back(PopupResult.word(i));
        }
        return w;
    }
    // Types a count that is refused and presses OK: the repeat-count box comes up.
    static CMessageBoxWnd* refuse_count(CMacroPlayOptionWnd* popup, const std::string& count) {
        type_count(popup, count);
        EXPECT_TRUE(ui::click_control(*popup, "macroplay_ok_btn"));
        return message_box();
    }
    // The repeat-count box this popup opened, if it is up.
    static CMessageBoxWnd* message_box() {
        for (PopupWindow* popup : PopupWindow::live_popups()) {
            if (auto* box = dynamic_cast<CMessageBoxWnd*>(popup)) {
                return box;
            }
        }
        return nullptr;
    }

    std::unique_ptr<ProfileStore> store = std::make_unique<ProfileStore>();
};

TEST_F(PlayOptionTest, AModeOfFivePreselectsNTimesAndOkReturnsIt) {
    CMacroPlayOptionWnd* popup = open_with_mode(5);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->window_class_name(), "MacroPlayOptionWnd");
    EXPECT_EQ(popup->rect().width(), 658);
    EXPECT_EQ(popup->rect().height(), 294);
    EXPECT_EQ(popup->caption_band(), (ui::Rect{0, 0, 0, 40}));
    EXPECT_EQ(popup_open, 1);
    EXPECT_EQ(combo(popup)->current_index(), CMacroPlayOptionWnd::kNTimes);
    EXPECT_TRUE(repeat_count_shown(popup));
    EXPECT_EQ(popup->control("macro_repeattimes_edit")->text(), "5");
    EXPECT_EQ(popup->control("macro_repeattimes_label")->text(), " Define N : ");
    for (int w : words()) {
        EXPECT_EQ(w, 0);  // cleared on opening
    }

    ASSERT_TRUE(ui::click_control(*popup, "macroplay_ok_btn"));
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_FALSE(ui::CWindowWnd::is_live(popup));
    EXPECT_EQ(popup_open, 0);
    EXPECT_EQ(words(), (std::vector<int>{1, 0, 2, 0, 5, 0}));
    EXPECT_EQ(owner.deliver(), Words{"macro_playoption_ok:owner_btn"});
}

TEST_F(PlayOptionTest, EachModePreselectsItsIndex) {
    const std::pair<int32_t, int> cases[] = {{0, 0},   {1, 0},   {-3, 0},  {2, 1},  {99, 1},
                                             {100, 0}, {241, 2}, {242, 3}, {243, 0}};
    for (auto [mode, index] : cases) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        CMacroPlayOptionWnd* popup = open_with_mode(mode);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(combo(popup)->current_index(), index);
        EXPECT_EQ(repeat_count_shown(popup), index == 1);
        popup->close();
        EXPECT_FALSE(popup_alive(popup));
    }
}

TEST_F(PlayOptionTest, OtherModesReturnTheirIndexWithACountOfOne) {
    CMacroPlayOptionWnd* popup = open_with_mode(kPlayToggle);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ui::click_control(*popup, "macroplay_ok_btn"));
    EXPECT_EQ(words(), (std::vector<int>{3, 0, 4, 0, 1, 0}));

    popup = open_with_mode(kPlayWhilePressed);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ui::click_control(*popup, "macroplay_ok_btn"));
    EXPECT_EQ(words(), (std::vector<int>{2, 0, 3, 0, 1, 0}));
    EXPECT_EQ(owner.deliver(),
              (Words{"macro_playoption_ok:owner_btn", "macro_playoption_ok:owner_btn"}));
}

TEST_F(PlayOptionTest, TheComboSpeaksTheLanguageAndChoosingNTimesShowsTheCount) {
    set_language_index(3);
    CMacroPlayOptionWnd* popup = open_with_mode(1);
    ASSERT_NE(popup, nullptr);
    ui::CComboUI* list = combo(popup);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item_at(0)->text(), " Einmal abspielen ");
    EXPECT_EQ(list->item_at(1)->text(), " n-mal abspielen ");
    EXPECT_EQ(list->item_at(2)->text(), " Abspielen, während Taste gedrückt wird ");
    EXPECT_EQ(list->item_at(3)->text(), " Ununterbrochenes Abspielen einschalten/ausschalten ");
    EXPECT_FALSE(repeat_count_shown(popup));

    list->select_item(1);
    EXPECT_TRUE(repeat_count_shown(popup));
    EXPECT_EQ(popup->control("macro_repeattimes_label")->text(), " n definieren ");
    EXPECT_EQ(popup->manager().focus(), popup->control("macro_repeattimes_edit"));
    ui::type_text(*popup, "123");  // two characters at most
    EXPECT_EQ(popup->control("macro_repeattimes_edit")->text(), "12");
    list->select_item(2);
    EXPECT_FALSE(repeat_count_shown(popup));
    list->select_item(1);
    ASSERT_TRUE(ui::click_control(*popup, "macroplay_ok_btn"));
    EXPECT_EQ(words(), (std::vector<int>{1, 0, 2, 0, 12, 0}));
}

TEST_F(PlayOptionTest, ABadCountBringsUpTheBoxAndTheRestWaitsForIt) {
    for (const char* bad : {"0", "00", "ab", "-5", "", "7x"}) {
        SCOPED_TRACE(std::string("count \"") + bad + "\"");
        owner.results.seen.clear();
        CMacroPlayOptionWnd* popup = open_with_mode(30);
        ASSERT_NE(popup, nullptr);
        CMessageBoxWnd* box = refuse_count(popup, bad);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->kind(), CMessageBoxWnd::kRepeatOutOfRange);
        EXPECT_EQ(box->owner(), popup);
        EXPECT_TRUE(popup->message_box_open());
        EXPECT_TRUE(popup_alive(popup));

        // Deaf meanwhile: no second box, no cancel, no list.
        ASSERT_TRUE(ui::click_control(*popup, "macroplay_ok_btn"));
        ASSERT_TRUE(ui::click_control(*popup, "macroplay_cancel_btn"));
        ASSERT_TRUE(ui::click_control(*popup, "macro_playback_combo"));
        EXPECT_FALSE(combo(popup)->is_open());
        EXPECT_EQ(PopupWindow::live_popups().size(), 2u);
        EXPECT_TRUE(owner.deliver().empty());

        // The box answers its opener, which listens again once it hears it.
        ASSERT_TRUE(ui::click_control(*box, "msgbox_ok_btn"));
        EXPECT_FALSE(popup_alive(box));
        EXPECT_EQ(popup_open, 1);
        popup->process_pending();
        EXPECT_FALSE(popup->message_box_open());
        type_count(popup, "7");
        ASSERT_TRUE(ui::click_control(*popup, "macroplay_ok_btn"));
        EXPECT_FALSE(popup_alive(popup));
        EXPECT_EQ(words(), (std::vector<int>{1, 0, 2, 0, 7, 0}));
        EXPECT_EQ(owner.deliver(), Words{"macro_playoption_ok:owner_btn"});
    }
}

TEST_F(PlayOptionTest, CancelAndCloseSendCancel) {
    for (const char* button : {"macroplay_cancel_btn", "macroplay_close_btn"}) {
        owner.results.seen.clear();
        CMacroPlayOptionWnd* popup = open_with_mode(241);
        ASSERT_NE(popup, nullptr);
        ASSERT_TRUE(ui::click_control(*popup, button));
        EXPECT_FALSE(popup_alive(popup));
        EXPECT_EQ(popup_open, 0);
        EXPECT_EQ(owner.deliver(), Words{"macro_playoption_cancel:owner_btn"});
    }
}

TEST_F(PlayOptionTest, RefusesButtonsAndProfilesOutOfRange) {
    EXPECT_EQ(CMacroPlayOptionWnd::open(11, 0, *store, owner.button()), nullptr);
    EXPECT_EQ(CMacroPlayOptionWnd::open(-1, 0, *store, owner.button()), nullptr);
    EXPECT_EQ(CMacroPlayOptionWnd::open(0, 5, *store, owner.button()), nullptr);
    EXPECT_EQ(popup_open, 0);
}

TEST_F(PlayOptionTest, ItsBoxGoesWithItAndNothingIsSent) {
    CMacroPlayOptionWnd* popup = open_with_mode(50);
    ASSERT_NE(popup, nullptr);
    CMessageBoxWnd* box = refuse_count(popup, "0");
    ASSERT_NE(box, nullptr);
    popup->close();
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_FALSE(popup_alive(box));
    EXPECT_FALSE(ui::CWindowWnd::is_live(box));
    EXPECT_TRUE(owner.deliver().empty());
}

TEST_F(PlayOptionTest, ABoxClosedFromOutsideLetsThePopupListenAgain) {
    CMacroPlayOptionWnd* popup = open_with_mode(50);
    ASSERT_NE(popup, nullptr);
    CMessageBoxWnd* box = refuse_count(popup, "ab");
    ASSERT_NE(box, nullptr);
    // As the main window does with every "PopupWnd" when the mouse comes back.
    box->close();
    EXPECT_FALSE(popup->message_box_open());
    ASSERT_TRUE(ui::click_control(*popup, "macroplay_cancel_btn"));
    EXPECT_EQ(owner.deliver(), Words{"macro_playoption_cancel:owner_btn"});
}

TEST_F(PlayOptionTest, TheOwnersWindowGoingTakesBothPopupsAlong) {
    auto other = std::make_unique<OwnerWindow>();
    store->profiles[0].macro_play_mode[0] = 9;
    CMacroPlayOptionWnd* popup = CMacroPlayOptionWnd::open(0, 0, *store, other->button());
    ASSERT_NE(popup, nullptr);
    ASSERT_NE(refuse_count(popup, "-5"), nullptr);
    other.reset();
    EXPECT_TRUE(PopupWindow::live_popups().empty());
}

}  // namespace
}  // namespace talvoro::shell::test
