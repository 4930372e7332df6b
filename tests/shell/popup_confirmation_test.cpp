// The confirmation popup and the message box over a stand-in main window: the words each
// answer sends, when they arrive, the flag that blocks the main window, and that every way a
// popup goes frees it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/key_codes.h"
#include "core/label.h"
#include "core/paint_manager.h"
#include "diagnostics/window_driver.h"
#include "platform/platform_names.h"
#include "popup_owner_window.h"
#include "shell/popups/message_box_wnd.h"
#include "shell/popups/popup_message_wnd.h"
#include "shell/popups/rounded_shape.h"

namespace talvoro::shell::test {
namespace {

using Words = std::vector<std::string>;

constexpr const char* kLabels[] = {"applynewsettinglabel", "resetallsettinglabel",
                                   "exitprogramlabel", "keyboardnotdetectedlabel"};
constexpr const char* kOkWords[] = {"apply_new_setting", "reset_all_setting", "exit_program",
                                    "keyboard_not_detected"};

using ConfirmationTest = PopupTest;

TEST_F(ConfirmationTest, EachKindShowsItsPictureAndAnswersWithItsWords) {
    for (int kind = 0; kind < 4; ++kind) {
        for (bool ok : {true, false}) {
            SCOPED_TRACE("kind " + std::to_string(kind) + (ok ? " OK" : " Cancel"));
            owner.results.seen.clear();
            CPopupMessageWnd* popup = CPopupMessageWnd::open(kind, owner.button());
            ASSERT_NE(popup, nullptr);
            EXPECT_EQ(popup->kind(), kind);
            EXPECT_EQ(popup->window_class_name(), "PopupWnd");
            EXPECT_EQ(popup_open, 1);
            for (int i = 0; i < 4; ++i) {
                ui::CControlUI* label = popup->control(kLabels[i]);
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->visible(), i == kind) << kLabels[i];
            }
            ASSERT_TRUE(ui::click_control(
                *popup, ok ? "popup_message_ok_btn" : "popup_message_cancel_btn"));
            EXPECT_FALSE(ui::CWindowWnd::is_live(popup));
            EXPECT_FALSE(popup_alive(popup));
            EXPECT_EQ(popup_open, 0);
            // Sent asynchronously: nothing before the main window handles its pending work.
            EXPECT_TRUE(owner.results.seen.empty());
            const std::string word = std::string(kOkWords[kind]) + (ok ? "" : "_cancel");
            EXPECT_EQ(owner.deliver(), Words{word + ":owner_btn"});
        }
    }
}

TEST_F(ConfirmationTest, EnterIsOkEscapeIsCancelOtherKeysDoNothing) {
    CPopupMessageWnd* popup =
        CPopupMessageWnd::open(CPopupMessageWnd::kExitProgram, owner.button());
    ASSERT_NE(popup, nullptr);
    ui::press_key(*popup, 'A');
    ui::press_key(*popup, ui::kKeyBack);
    EXPECT_TRUE(ui::CWindowWnd::is_live(popup));
    popup->send_message(ui::WindowMessage::kKeyDown, ui::kKeyReturn);
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_EQ(owner.deliver(), Words{"exit_program:owner_btn"});

    owner.results.seen.clear();
    popup = CPopupMessageWnd::open(CPopupMessageWnd::kResetAllSetting, owner.button());
    ASSERT_NE(popup, nullptr);
    popup->send_message(ui::WindowMessage::kKeyDown, ui::kKeyEscape);
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_EQ(popup_open, 0);
    EXPECT_EQ(owner.deliver(), Words{"reset_all_setting_cancel:owner_btn"});
}

TEST_F(ConfirmationTest, RefusesWhatItCannotShow) {
    EXPECT_EQ(CPopupMessageWnd::open(4, owner.button()), nullptr);
    EXPECT_EQ(CPopupMessageWnd::open(-1, owner.button()), nullptr);
    EXPECT_EQ(CPopupMessageWnd::open(0, nullptr), nullptr);
    EXPECT_EQ(CMessageBoxWnd::open(2, owner.button()), nullptr);
    // A control in no window has nowhere to send its answer.
    ui::CLabelUI loose;
    EXPECT_EQ(CPopupMessageWnd::open(0, &loose), nullptr);
    EXPECT_EQ(popup_open, 0);
    EXPECT_TRUE(PopupWindow::live_popups().empty());
}

TEST_F(ConfirmationTest, CentredOverTheOwnerWithCaptionBandAndRoundedCorners) {
    CPopupMessageWnd* popup = CPopupMessageWnd::open(0, owner.button());
    ASSERT_NE(popup, nullptr);
    const ui::Rect& at = popup->rect();
    EXPECT_EQ(at.width(), 660);
    EXPECT_EQ(at.height(), 294);
    EXPECT_EQ(at.left, 200 + (1025 - 660) / 2);
    EXPECT_EQ(at.top, 100 + (701 - 294) / 2);
    EXPECT_EQ(popup->owner(), &owner);
    EXPECT_TRUE(popup->visible());

    EXPECT_EQ(popup->caption_band(), (ui::Rect{0, 0, 0, 30}));
    EXPECT_EQ(popup->hit_test({20, 10}), ui::CWindowWnd::HitTest::kCaption);
    EXPECT_EQ(popup->hit_test({20, 40}), ui::CWindowWnd::HitTest::kClient);
    ui::CControlUI* ok = popup->control("popup_message_ok_btn");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(popup->hit_test({ok->pos().left + 5, ok->pos().top + 5}),
              ui::CWindowWnd::HitTest::kClient);

    EXPECT_EQ(popup->shape(), rounded_rect_shape({660, 294}, {3, 3}));
}

TEST_F(ConfirmationTest, PicturesComeFromTheLanguagesSkin) {
    set_language_index(2);
    CPopupMessageWnd* popup = CPopupMessageWnd::open(1, owner.button());
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->manager().image_cache().base_folder().ends_with(std::string("TalvoroSkin2") +
                                                                       kPathSeparator));
    // Whether or not the pictures are there, the popup draws and answers.
    popup->paint_now();
    ASSERT_TRUE(ui::click_control(*popup, "popup_message_cancel_btn"));
    EXPECT_EQ(owner.deliver(), Words{"reset_all_setting_cancel:owner_btn"});
}

TEST_F(ConfirmationTest, ClosedFromOutsideItSendsNothingAndIsFreed) {
    CPopupMessageWnd* popup =
        CPopupMessageWnd::open(CPopupMessageWnd::kMouseNotDetected, owner.button());
    ASSERT_NE(popup, nullptr);
    popup->close();
    EXPECT_FALSE(ui::CWindowWnd::is_live(popup));
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_TRUE(owner.deliver().empty());
    // Whoever closes it clears the flag; the popup only does when it answers.
    EXPECT_EQ(popup_open, 1);
}

TEST_F(ConfirmationTest, GoesWithItsOwnersWindow) {
    auto other = std::make_unique<OwnerWindow>();
    CPopupMessageWnd* popup = CPopupMessageWnd::open(0, other->button());
    ASSERT_NE(popup, nullptr);
    other.reset();
    EXPECT_FALSE(ui::CWindowWnd::is_live(popup));
    EXPECT_FALSE(popup_alive(popup));
}

TEST_F(ConfirmationTest, AnOwnerControlThatWentGetsNoAnswer) {
    CPopupMessageWnd* popup = CPopupMessageWnd::open(0, owner.button());
    ASSERT_NE(popup, nullptr);
    // The owner's controls are rebuilt: the button that opened the popup is gone.
    ui::CDialogBuilder builder;
    owner.manager().set_root(builder.create(R"(<Window><Button name="owner_btn"/></Window>)",
                                            nullptr, &owner.manager()));
    ASSERT_TRUE(ui::click_control(*popup, "popup_message_ok_btn"));
    EXPECT_FALSE(popup_alive(popup));
    EXPECT_TRUE(owner.deliver().empty());
}

using MessageBoxTest = PopupTest;

TEST_F(MessageBoxTest, MacroLimitBlocksTheMainWindowUntilAcknowledged) {
    CMessageBoxWnd* box = CMessageBoxWnd::open(CMessageBoxWnd::kMacroOverMax, owner.button());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->window_class_name(), "PopupWnd");
    EXPECT_EQ(box->rect().width(), 305);
    EXPECT_EQ(box->rect().height(), 206);
    EXPECT_EQ(popup_open, 1);
    EXPECT_TRUE(box->control("msgbox_macroovermax_label")->visible());
    EXPECT_FALSE(box->control("msgbox_macrorepeat1_99_label")->visible());
    ui::press_key(*box, ui::kKeyEscape);  // not one of its keys
    EXPECT_TRUE(popup_alive(box));
    ASSERT_TRUE(ui::click_control(*box, "msgbox_close_btn"));
    EXPECT_FALSE(popup_alive(box));
    EXPECT_EQ(popup_open, 0);
    EXPECT_EQ(owner.deliver(), Words{"msgbox_ok_btn:owner_btn"});
}

TEST_F(MessageBoxTest, RepeatCountBoxLeavesTheFlagToItsOpener) {
    popup_open = 1;
    CMessageBoxWnd* box = CMessageBoxWnd::open(CMessageBoxWnd::kRepeatOutOfRange, owner.button());
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->control("msgbox_macroovermax_label")->visible());
    EXPECT_TRUE(box->control("msgbox_macrorepeat1_99_label")->visible());
    box->send_message(ui::WindowMessage::kKeyDown, ui::kKeyReturn);
    EXPECT_FALSE(popup_alive(box));
    EXPECT_EQ(popup_open, 1);
    EXPECT_EQ(owner.deliver(), Words{"msgbox_ok_btn:owner_btn"});

    popup_open = 0;
    box = CMessageBoxWnd::open(CMessageBoxWnd::kRepeatOutOfRange, owner.button());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(popup_open, 0);
    ASSERT_TRUE(ui::click_control(*box, "msgbox_ok_btn"));
    EXPECT_FALSE(popup_alive(box));
}

TEST(RoundedShapeTest, CutsTheCornersOnly) {
    const std::vector<ui::Rect> shape = rounded_rect_shape({10, 8}, {3, 3});
    auto covered = [&](int x, int y) {
        return std::any_of(shape.begin(), shape.end(),
                           [&](const ui::Rect& r) { return r.contains(x, y); });
    };
    int pixels = 0;
    for (const ui::Rect& r : shape) {
        pixels += r.width() * r.height();
    }
    // One pixel off each corner of a 3 x 3 rounding.
    EXPECT_EQ(pixels, 10 * 8 - 4);
    for (ui::Point corner : {ui::Point{0, 0}, {9, 0}, {0, 7}, {9, 7}}) {
        EXPECT_FALSE(covered(corner.x, corner.y)) << corner.x << "," << corner.y;
    }
    for (ui::Point kept : {ui::Point{1, 0}, {0, 1}, {8, 0}, {9, 6}, {5, 4}}) {
        EXPECT_TRUE(covered(kept.x, kept.y)) << kept.x << "," << kept.y;
    }
    // Larger corners cut more, and rows stay symmetric.
    const std::vector<ui::Rect> big = rounded_rect_shape({40, 40}, {16, 16});
    ASSERT_FALSE(big.empty());
    EXPECT_GT(big.front().left, 2);
    EXPECT_EQ(big.front().left, 40 - big.front().right);
    EXPECT_EQ(big.front().left, big.back().left);

    EXPECT_EQ(rounded_rect_shape({10, 8}, {0, 0}), (std::vector<ui::Rect>{{0, 0, 10, 8}}));
    EXPECT_TRUE(rounded_rect_shape({0, 8}, {3, 3}).empty());
    // A corner larger than the window never cuts a row away entirely.
    for (const ui::Rect& r : rounded_rect_shape({4, 4}, {50, 50})) {
        EXPECT_FALSE(r.empty());
    }
}

}  // namespace
}  // namespace talvoro::shell::test
