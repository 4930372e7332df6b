// One line of editable text: typing at a caret, the usual caret keys, a character limit,
// read-only and password modes. Enter sends "edit_return".
#pragma once
#include <cstddef>
#include <string>

#include "core/control.h"

namespace talvoro::ui {

class CEditUI : public CControlUI {
  public:
    static constexpr int kDefaultMaxChar = 255;
    static constexpr uintptr_t kCaretTimerId = 0x45444954;  // one per control, so any value
    static constexpr unsigned kCaretBlinkMs = 500;

    std::string_view class_name() const override { return "Edit"; }
    bool set_attribute(std::string_view name, std::string_view value) override;
    void do_event(ControlEvent& event) override;

    bool is_readonly() const { return readonly_; }
    bool takes_keyboard_focus() const override { return !readonly_; }
    void set_readonly(bool readonly);
    // The limit typing obeys, in characters (code points); text set by the program is kept
    // whole.
    int max_char() const { return max_char_; }
    void set_max_char(int max_char);
    bool is_password() const { return password_; }
    void set_password(bool password);
    // Background while the edit has the focus and can be edited; 0 keeps the normal one.
    Color native_bk_color() const { return native_bk_color_; }
    void set_native_bk_color(Color color);

    // Byte offset of the caret in text(), always at a character boundary.
    size_t caret() const;
    void set_caret(size_t offset);
    bool focused() const { return focused_; }
    bool caret_visible() const { return focused_ && caret_on_; }

    // Inserts at the caret as much of `utf8` as the limit allows, whole characters only;
    // line breaks and other control characters are dropped. False when nothing went in.
    bool insert_text(std::string_view utf8);
    // The text as drawn: one '*' per character in password mode.
    std::string display_text() const;

  protected:
    void paint_bk_color(Canvas& canvas) override;
    void paint_text(Canvas& canvas) override;

  private:
    void on_key(int key);
    // Horizontal pixel position of a byte offset of the shown text, in window coordinates.
    int caret_x(size_t offset) const;
    size_t offset_at(int x) const;
    // The shown text's byte offset for a byte offset of text().
    size_t display_offset(size_t offset) const;
    void restart_blink();

    bool readonly_ = false;
    bool password_ = false;
    int max_char_ = kDefaultMaxChar;
    Color native_bk_color_;
    size_t caret_ = 0;
    bool focused_ = false;
    bool caret_on_ = false;
};

}  // namespace talvoro::ui
