// The single-key popup: what it captures from the keys held, the modifier bits and lights, and
// that typing never reaches its edit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "diagnostics/window_driver.h"
#include "popup_owner_window.h"
#include "shell/popups/held_keys.h"
#include "shell/popups/keys_message_wnd.h"
#include "store/key_table.h"

namespace talvoro::shell::test {
namespace {

using Words = std::vector<std::string>;

class KeysPopupTest : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        popup = CKeysMessageWnd::open(owner.button());
        ASSERT_NE(popup, nullptr);
    }
    void down(int key) { popup->send_message(ui::WindowMessage::kKeyDown, key); }
    void up(int key) { popup->send_message(ui::WindowMessage::kKeyUp, key); }
    std::string edit_text() { return popup->control("keyspopup_name_edit")->text(); }
    uint32_t label_color(const char* name) {
        return popup->control(name)->text_color().argb() & 0xFFFFFF;
    }
    static int row_of(int virtual_key) {
        return static_cast<int>(key_by_virtual_key(virtual_key) - key_table().data());
    }

    CKeysMessageWnd* popup = nullptr;
};

TEST_F(KeysPopupTest, OpensEmptyWithItsTextsAndBlocksTheMainWindow) {
    EXPECT_EQ(popup->window_class_name(), "KeysPopupWnd");
    EXPECT_EQ(popup->rect().width(), 627);
    EXPECT_EQ(popup->rect().height(), 296);
    EXPECT_EQ(popup_open, 1);
    EXPECT_EQ(PopupResult.word(0), 0);
    EXPECT_EQ(PopupResult.word(1), 0xFF);
    for (int i = 2; i < PopupResultArea::kWords; ++i) {
        ASSERT_EQ(PopupResult.word(i), 0) << i;
    }
    EXPECT_EQ(popup->control("keysmessagetitlelabel")->text(), "Single    Key    Setting");
    EXPECT_EQ(popup->control("inputmessagelabel")->text(), "Input a single key");
    EXPECT_EQ(popup->control("singlekeyshiftlabel")->text(), "Shift");
    EXPECT_EQ(popup->control("singlekeyctrllabel")->text(), " Ctrl");
    EXPECT_EQ(popup->control("singlekeyaltlabel")->text(), " Alt ");
    ui::CControlUI* edit = popup->control("keyspopup_name_edit");
    EXPECT_EQ(edit->font(), 1);
    EXPECT_EQ(edit->text_padding(), (ui::Rect{200, 0, 0, -2}));
    EXPECT_EQ(popup->manager().default_font(), 1);
    EXPECT_EQ(edit_text(), "");
}

TEST_F(KeysPopupTest, GermanTexts) {
    popup->close();
    set_language_index(3);
    popup = CKeysMessageWnd::open(owner.button());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->control("keysmessagetitlelabel")->text(), "Einzelne Taste Einstellungen");
    EXPECT_EQ(popup->control("inputmessagelabel")->text(), "Verzögerungsdauer Einzelne Taste ");
}

TEST_F(KeysPopupTest, ALetterIsCapturedWithItsUsage) {
    ui::press_key(*popup, 'A');
    EXPECT_EQ(edit_text(), " A ");
    EXPECT_EQ(PopupResult.word(0), 'A');
    EXPECT_EQ(PopupResult.word(1), row_of('A'));
    EXPECT_EQ(PopupResult.word(2), 4);  // HID usage of A
    EXPECT_EQ(PopupResult.word(3), 0);
    EXPECT_EQ(PopupResult.word(4), 0);
    EXPECT_EQ(PopupResult.word(5), 0);
}

TEST_F(KeysPopupTest, ShiftHeldThenACapturesShiftTheLowestHeldCode) {
    down(kVkLeftShift);
    ui::press_key(*popup, 'A');
    EXPECT_EQ(edit_text(), " Shift ");
    EXPECT_EQ(PopupResult.word(0), kVkShift);
    EXPECT_EQ(PopupResult.word(1), row_of(kVkShift));
    EXPECT_EQ(PopupResult.word(2), 225);
    EXPECT_EQ(PopupResult.word(4), kModLeftShift);
    EXPECT_EQ(label_color("singlekeyshiftlabel"), 0xFFFFFFu);
    up(kVkLeftShift);

    down(kVkRightShift);
    ui::press_key(*popup, 'Z');
    EXPECT_EQ(edit_text(), " Shift ");
    EXPECT_EQ(PopupResult.word(4), kModRightShift);
    up(kVkRightShift);
    EXPECT_EQ(popup->modifier_bits(), 0);
}

TEST_F(KeysPopupTest, SidedCtrlAndAltSetTheirBitsAndReleasesClearThem) {
    down(kVkRightControl);
    EXPECT_EQ(edit_text(), " Ctrl ");
    EXPECT_EQ(PopupResult.word(4), kModRightCtrl);
    down(kVkLeftMenu);
    EXPECT_EQ(edit_text(), " Ctrl ");  // 0x11 is below 0x12
    EXPECT_EQ(PopupResult.word(4), kModRightCtrl | kModLeftAlt);
    EXPECT_EQ(label_color("singlekeyctrllabel"), 0xFFFFFFu);
    EXPECT_EQ(label_color("singlekeyaltlabel"), 0xFFFFFFu);
    up(kVkRightControl);
    up(kVkLeftMenu);
    EXPECT_EQ(popup->modifier_bits(), 0);
    // The lights stay lit until the next key press.
    EXPECT_EQ(label_color("singlekeyctrllabel"), 0xFFFFFFu);
    ui::press_key(*popup, 'B');
    EXPECT_EQ(edit_text(), " B ");
    EXPECT_EQ(PopupResult.word(4), 0);
    EXPECT_EQ(label_color("singlekeyctrllabel"), 0u);
    EXPECT_EQ(label_color("singlekeyaltlabel"), 0u);

    // Generic codes count as the left keys.
    down(kVkControl);
    down(kVkRightMenu);
    EXPECT_EQ(PopupResult.word(4), kModLeftCtrl | kModRightAlt);
    up(kVkControl);
    EXPECT_EQ(popup->modifier_bits(), kModRightAlt);
}

TEST_F(KeysPopupTest, TheLowestOfSeveralHeldKeysWins) {
    down('C');
    down('B');
    EXPECT_EQ(edit_text(), " B ");
    down('A');
    EXPECT_EQ(edit_text(), " A ");
    up('A');
    down('D');
    EXPECT_EQ(edit_text(), " B ");
    EXPECT_EQ(PopupResult.word(0), 'B');
}

// Enter and Escape are captured first or with a key held; alone after a capture they answer.
TEST_F(KeysPopupTest, EnterAndEscapeAreCapturedFirstAndAnswerAfterACapture) {
    ui::press_key(*popup, ui::kKeyReturn);
    EXPECT_TRUE(popup_alive(popup));
    EXPECT_EQ(edit_text(), " Enter ");
    EXPECT_EQ(PopupResult.word(0), ui::kKeyReturn);
    down(kVkLeftShift);
    ui::press_key(*popup, ui::kKeyEscape);
    up(kVkLeftShift);
    EXPECT_EQ(PopupResult.word(0), kVkShift) << "Shift+Esc: the lowest code held";
    ui::press_key(*popup, 'A');
    down(ui::kKeyReturn);
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_EQ(owner.deliver(), Words{"button_singlekey:owner_btn"});
    EXPECT_EQ(PopupResult.word(0), 'A');

    owner.results.seen.clear();
    popup = CKeysMessageWnd::open(owner.button());
    ASSERT_NE(popup, nullptr);
    ui::press_key(*popup, ui::kKeyEscape);
    EXPECT_EQ(edit_text(), " Esc ");
    down(ui::kKeyEscape);
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_EQ(owner.deliver(), Words{"button_singlekey_cancel:owner_btn"});
}

TEST_F(KeysPopupTest, AKeyOutsideTheTableEmptiesTheEdit) {
    ui::press_key(*popup, 'A');
    ASSERT_EQ(edit_text(), " A ");
    ui::press_key(*popup, 0x7C);  // F13
    EXPECT_EQ(edit_text(), "");
    EXPECT_EQ(PopupResult.word(1), 0xFF);
    // OK still answers.
    ASSERT_TRUE(ui::click_control(*popup, "keyspopup_ok_btn"));
    EXPECT_EQ(owner.deliver(), Words{"button_singlekey:owner_btn"});
    EXPECT_EQ(PopupResult.word(1), 0xFF);
}

TEST_F(KeysPopupTest, TypingNeverReachesTheEdit) {
    ASSERT_TRUE(ui::click_control(*popup, "keyspopup_name_edit"));
    ui::type_text(*popup, "xyz");
    ui::press_key(*popup, ui::kKeyBack);
    EXPECT_EQ(edit_text(), " BackSpace ");
    ui::type_text(*popup, "q");
    EXPECT_EQ(edit_text(), " BackSpace ");
}

TEST_F(KeysPopupTest, KeysReleasedElsewhereAreForgotten) {
    down(kVkLeftShift);
    popup->send_message(ui::WindowMessage::kActivate, 0);
    ui::press_key(*popup, 'A');
    EXPECT_EQ(edit_text(), " A ");
    EXPECT_EQ(PopupResult.word(4), 0);
}

TEST_F(KeysPopupTest, OkAndCancelAnswerAndClose) {
    ui::press_key(*popup, 'Q');
    ASSERT_TRUE(ui::click_control(*popup, "keyspopup_ok_btn"));
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_FALSE(ui::CWindowWnd::is_live(popup));
    EXPECT_EQ(popup_open, 0);
    EXPECT_EQ(owner.deliver(), Words{"button_singlekey:owner_btn"});
    EXPECT_EQ(PopupResult.word(0), 'Q');

    owner.results.seen.clear();
    popup = CKeysMessageWnd::open(owner.button());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(PopupResult.word(0), 0);  // cleared again
    ASSERT_TRUE(ui::click_control(*popup, "keyspopup_cancel_btn"));
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_EQ(popup_open, 0);
    EXPECT_EQ(owner.deliver(), Words{"button_singlekey_cancel:owner_btn"});
}

TEST(HeldKeysTest, ReadsLikeTheWindowsKeyboardState) {
    HeldKeys keys;
    EXPECT_EQ(keys.lowest(), 0);
    keys.press(kVkRightMenu);
    EXPECT_TRUE(keys.held(kVkMenu));
    EXPECT_TRUE(keys.held(kVkRightMenu));
    EXPECT_FALSE(keys.held(kVkLeftMenu));
    EXPECT_EQ(keys.lowest(), kVkMenu);
    keys.press(kVkLeftShift);
    EXPECT_EQ(keys.lowest(), kVkShift);
    keys.release(kVkLeftShift);
    EXPECT_FALSE(keys.held(kVkShift));
    // A generic code stands for the left key, both ways.
    keys.press(kVkControl);
    EXPECT_TRUE(keys.held(kVkLeftControl));
    keys.release(kVkControl);
    EXPECT_FALSE(keys.held(kVkControl));
    // Nonsense codes are ignored.
    keys.press(0);
    keys.press(256);
    keys.press(-5);
    EXPECT_FALSE(keys.held(256));
    EXPECT_EQ(keys.lowest(), kVkMenu);
    keys.clear();
    EXPECT_EQ(keys.lowest(), 0);
}

}  // namespace
}  // namespace talvoro::shell::test
