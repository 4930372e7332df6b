// The message popup: a picture with OK and a close button, for too many macros (kind 0) and a
// repeat count out of range (kind 1). Both buttons, and Enter, send "msgbox_ok_btn".
#pragma once

#include "shell/popups/popup_window.h"

namespace talvoro::shell {

class CMessageBoxWnd : public PopupWindow {
  public:
    static constexpr int kMacroOverMax = 0;  // blocks the main window while up
    static constexpr int kRepeatOutOfRange = 1;

    // Null (nothing opened) for another kind, an owner outside any window, or a layout that
    // cannot be built.
    static CMessageBoxWnd* open(int kind, ui::CControlUI* owner);

    int kind() const { return kind_; }
    std::string_view window_class_name() const override { return "PopupWnd"; }

  private:
    CMessageBoxWnd(int kind, ui::CControlUI* owner) : PopupWindow(owner), kind_(kind) {}
    ~CMessageBoxWnd() override = default;

    void prepare() override;
    bool pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) override;
    void on_notify(ui::TNotifyUI& msg) override;
    void acknowledge();

    int kind_;
};

}  // namespace talvoro::shell
