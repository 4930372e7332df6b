// The single-key popup: every key pressed while it is up is captured, never typed. The lowest
// key held shows by name in its edit and goes to PopupResult (w0 virtual key, w1 key table row
// or 0xFF, w2/w3 HID usage low/high byte, w4 modifier bits); OK sends "button_singlekey", Cancel
// "button_singlekey_cancel". Enter and Escape are captured as the first key or with a key held;
// pressed alone after a key was captured and let go, they answer OK and Cancel.
#pragma once

#include <cstdint>

#include "shell/popups/held_keys.h"
#include "shell/popups/popup_state.h"
#include "shell/popups/popup_window.h"
#include "store/key_table.h"

namespace talvoro::shell {

// Bits of the HID keyboard modifier byte that w4 carries.
inline constexpr uint8_t kModLeftCtrl = 0x01;
inline constexpr uint8_t kModLeftShift = 0x02;
inline constexpr uint8_t kModLeftAlt = 0x04;
inline constexpr uint8_t kModRightCtrl = 0x10;
inline constexpr uint8_t kModRightShift = 0x20;
inline constexpr uint8_t kModRightAlt = 0x40;

// The key row of a popup that captured no key of the table.
inline constexpr uint16_t kNoKeyRow = 0xFF;

// The key the popup left behind when it sent "button_singlekey".
struct KeyChoice {
    uint16_t virtual_key;
    uint16_t key_row;  // kNoKeyRow when no key of the table was captured

    // The table row of the key; null when there is none.
    const KeyRow* key() const;
};
KeyChoice read_key_choice(const PopupResultArea& result);

class CKeysMessageWnd : public PopupWindow {
  public:
    // Null (nothing opened) for an owner outside any window or a layout that cannot be built.
    static CKeysMessageWnd* open(ui::CControlUI* owner);

    std::string_view window_class_name() const override { return "KeysPopupWnd"; }
    uint8_t modifier_bits() const { return modifiers_; }

  private:
    explicit CKeysMessageWnd(ui::CControlUI* owner) : PopupWindow(owner) {}
    ~CKeysMessageWnd() override = default;

    void prepare() override;
    bool pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) override;
    void on_notify(ui::TNotifyUI& msg) override;
    void key_down(int key);
    void key_up(int key);
    void set_label_color(const char* name, const char* color);
    void finish(const char* word);

    HeldKeys held_;
    uint8_t modifiers_ = 0;
    // A key was pressed and every key let go again: Enter and Escape alone now answer.
    bool answer_keys_ = false;
};

}  // namespace talvoro::shell
