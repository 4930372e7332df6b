// The confirmation popup: a question picture with OK and Cancel, for applying the settings,
// resetting everything, leaving the program, and the mouse not being found.
#pragma once

#include "shell/popups/popup_window.h"

namespace talvoro::shell {

class CPopupMessageWnd : public PopupWindow {
  public:
    // Kinds, with the words OK and Cancel send.
    static constexpr int kApplySetting = 0;      // "apply_new_setting", "..._cancel"
    static constexpr int kResetAllSetting = 1;   // "reset_all_setting", "..._cancel"
    static constexpr int kExitProgram = 2;       // "exit_program", "..._cancel"
    static constexpr int kMouseNotDetected = 3;  // "keyboard_not_detected", "..._cancel"

    // Opens the popup of `kind` over the window of `owner`; null (nothing opened) for another
    // kind, an owner outside any window, or a layout that cannot be built.
    static CPopupMessageWnd* open(int kind, ui::CControlUI* owner);

    int kind() const { return kind_; }
    std::string_view window_class_name() const override { return "PopupWnd"; }

  private:
    CPopupMessageWnd(int kind, ui::CControlUI* owner) : PopupWindow(owner), kind_(kind) {}
    ~CPopupMessageWnd() override = default;

    void prepare() override;
    bool pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) override;
    void on_notify(ui::TNotifyUI& msg) override;
    // OK (true) or Cancel: the popup's answer, then it goes.
    void answer(bool ok);

    int kind_;
};

}  // namespace talvoro::shell
