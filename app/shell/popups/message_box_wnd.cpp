#include "shell/popups/message_box_wnd.h"

#include "core/key_codes.h"
#include "layouts/layout_table.h"
#include "shell/popups/popup_state.h"

namespace talvoro::shell {
namespace {

constexpr PopupWindow::Frame kFrame{layouts::kMessageBoxPopupLayout, {305, 206}, 30};

}  // namespace

CMessageBoxWnd* CMessageBoxWnd::open(int kind, ui::CControlUI* owner) {
    if (kind != kMacroOverMax && kind != kRepeatOutOfRange) {
        return nullptr;
    }
    return show_new(new CMessageBoxWnd(kind, owner), kFrame);
}

void CMessageBoxWnd::prepare() {
    if (ui::CControlUI* label = control("msgbox_macroovermax_label")) {
        label->set_visible(kind_ == kMacroOverMax);
    }
    if (ui::CControlUI* label = control("msgbox_macrorepeat1_99_label")) {
        label->set_visible(kind_ == kRepeatOutOfRange);
    }
    // The repeat-count box is opened by another popup, which keeps the main window blocked.
    if (kind_ == kMacroOverMax) {
        popup_open = 1;
    }
}

bool CMessageBoxWnd::pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t) {
    if (msg == ui::WindowMessage::kKeyDown && wparam == ui::kKeyReturn) {
        acknowledge();
        return true;
    }
    return false;
}

void CMessageBoxWnd::on_notify(ui::TNotifyUI& msg) {
    if (msg.type == "click" && msg.sender != nullptr &&
        (msg.sender->name() == "msgbox_ok_btn" || msg.sender->name() == "msgbox_close_btn")) {
        acknowledge();
    }
}

void CMessageBoxWnd::acknowledge() {
    if (kind_ == kMacroOverMax) {
        popup_open = 0;
    }
    send_result("msgbox_ok_btn");
    close();
}

}  // namespace talvoro::shell
