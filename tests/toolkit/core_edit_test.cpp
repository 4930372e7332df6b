#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/dialog_builder.h"
#include "core/edit.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "notify_recorder.h"

namespace talvoro::ui {
namespace {

using Recorder = test::NotifyRecorder;

// One 120 x 20 edit filling the window, focused by a click.
class CoreEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<CEditUI>();
        edit = owned.get();
        edit->set_name("name_edit");
        manager.set_root(std::move(owned));
        manager.set_client_size({120, 20});
        manager.add_notifier(&recorder);
        manager.set_clock([this] { return now; });
        manager.update_layout();
    }

    void focus_with(const std::string& text) {
        edit->set_text(text);
        manager.set_focus(edit);
    }
    void type(std::string_view text) { manager.text_input(text); }
    void key(int code) { manager.key_down(code); }

    CPaintManagerUI manager;
    Recorder recorder;
    CEditUI* edit = nullptr;
    CPaintManagerUI::Millis now{0};
};

TEST_F(CoreEditTest, TypesAtTheCaret) {
    focus_with("ac");
    EXPECT_EQ(edit->caret(), 2u);
    key(kKeyLeft);
    type("b");
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_EQ(edit->caret(), 2u);
    key(kKeyHome);
    type("<");
    key(kKeyEnd);
    type(">");
    EXPECT_EQ(edit->text(), "<abc>");
}

TEST_F(CoreEditTest, BackspaceAndDelete) {
    focus_with("abcd");
    key(kKeyBack);
    EXPECT_EQ(edit->text(), "abc");
    key(kKeyHome);
    key(kKeyDelete);
    EXPECT_EQ(edit->text(), "bc");
    key(kKeyBack);  // nothing before the caret
    EXPECT_EQ(edit->text(), "bc");
    key(kKeyEnd);
    key(kKeyDelete);  // nothing after it
    EXPECT_EQ(edit->text(), "bc");
    key(kKeyRight);
    EXPECT_EQ(edit->caret(), 2u);
}

TEST_F(CoreEditTest, TypingWithoutFocusDoesNothing) {
    edit->set_text("x");
    type("y");
    EXPECT_EQ(edit->text(), "x");
}

TEST_F(CoreEditTest, ControlCharactersAreDropped) {
    focus_with("");
    type("a\r\nb\tc");
    EXPECT_EQ(edit->text(), "abc");
}

TEST_F(CoreEditTest, MaxCharCountsCharacters) {
    edit->set_attribute("maxchar", "4");
    focus_with("ab");
    type("cdef");
    EXPECT_EQ(edit->text(), "abcd");
    type("g");
    EXPECT_EQ(edit->text(), "abcd");
    key(kKeyBack);
    type("中文");  // one character of room: the first whole one goes in
    EXPECT_EQ(edit->text(), "abc中");
}

TEST_F(CoreEditTest, DefaultLimitIs255) {
    focus_with("");
    type(std::string(300, 'x'));
    EXPECT_EQ(edit->text().size(), 255u);
}

TEST_F(CoreEditTest, ChineseEditingMovesByCharacter) {
    focus_with("中文");
    EXPECT_EQ(edit->caret(), 6u);
    key(kKeyLeft);
    EXPECT_EQ(edit->caret(), 3u);
    type("的");
    EXPECT_EQ(edit->text(), "中的文");
    key(kKeyBack);
    EXPECT_EQ(edit->text(), "中文");
    key(kKeyHome);
    key(kKeyRight);
    key(kKeyDelete);
    EXPECT_EQ(edit->text(), "中");
    key(kKeyBack);
    EXPECT_EQ(edit->text(), "");
}

TEST_F(CoreEditTest, CaretNeverSplitsACharacterAfterSetText) {
    focus_with("abcdef");
    edit->set_text("中");
    EXPECT_EQ(edit->caret(), 3u);  // past the end: back to the end
    edit->set_text("中中");
    edit->set_caret(4);
    EXPECT_EQ(edit->caret(), 3u);
}

TEST_F(CoreEditTest, ReadonlyRefusesEditsButMovesCaret) {
    edit->set_attribute("readonly", "true");
    focus_with("abc");
    type("x");
    key(kKeyBack);
    key(kKeyLeft);
    key(kKeyDelete);
    key(kKeyReturn);
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_EQ(edit->caret(), 2u);
    EXPECT_TRUE(recorder.seen.empty());
    edit->set_attribute("readonly", "false");
    type("x");
    EXPECT_EQ(edit->text(), "abxc");
}

TEST_F(CoreEditTest, EnterSendsEditReturn) {
    focus_with("m");
    key(kKeyReturn);
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"edit_return:name_edit"});
    EXPECT_EQ(edit->text(), "m");
}

TEST_F(CoreEditTest, PasswordShowsStars) {
    edit->set_attribute("password", "true");
    focus_with("中ab");
    EXPECT_EQ(edit->display_text(), "***");
    EXPECT_EQ(edit->text(), "中ab");
}

TEST_F(CoreEditTest, CaretBlinksWhileFocused) {
    focus_with("a");
    EXPECT_TRUE(edit->caret_visible());
    now = CPaintManagerUI::Millis{CEditUI::kCaretBlinkMs};
    manager.fire_due_timers(now);
    EXPECT_FALSE(edit->caret_visible());
    manager.set_focus(nullptr);
    EXPECT_FALSE(edit->focused());
    EXPECT_FALSE(manager.next_timer_due().has_value());
}

TEST_F(CoreEditTest, NativeBackgroundWhileEditing) {
    edit->set_attribute("bkcolor", "#FF0000FF");
    edit->set_attribute("nativebkcolor", "#FF000000");
    Canvas canvas(120, 20);
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(100, 10), Color::from_argb(0xFF0000FF));
    manager.set_focus(edit);
    manager.invalidate_all();
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(100, 10), Color::from_argb(0xFF000000));
}

TEST_F(CoreEditTest, ClickPlacesCaret) {
    focus_with("iiiiiiii");
    manager.mouse_down(0, 10);
    manager.mouse_up(0, 10);
    EXPECT_EQ(edit->caret(), 0u);
    manager.mouse_down(119, 10);
    manager.mouse_up(119, 10);
    EXPECT_EQ(edit->caret(), 8u);
}

TEST(CoreEditBuild, FromXml) {
    CDialogBuilder builder;
    auto control =
        builder.create(R"(<Edit name="e" text="50" readonly="true" maxchar="5" password="false" )"
                       R"(nativebkcolor="#FF000000" textpadding="2,0,2,0" font="4"/>)");
    auto* edit = dynamic_cast<CEditUI*>(control.get());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "50");
    EXPECT_TRUE(edit->is_readonly());
    EXPECT_EQ(edit->max_char(), 5);
    EXPECT_EQ(edit->native_bk_color(), Color::from_argb(0xFF000000));
    EXPECT_EQ(edit->text_padding(), (Rect{2, 0, 2, 0}));
    EXPECT_EQ(edit->font(), 4);
    EXPECT_FALSE(edit->set_attribute("maxchar", "-1"));
    EXPECT_EQ(edit->max_char(), 5);
}

}  // namespace
}  // namespace talvoro::ui
