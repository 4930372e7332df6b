#include "shell/popups/popup_message_wnd.h"

#include <array>
#include <string>

#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "layouts/layout_table.h"
#include "shell/popups/popup_state.h"

namespace talvoro::shell {
namespace {

struct KindLook {
    const char* label;  // the one picture label shown
    const char* ok_word;
    const char* cancel_word;
};

constexpr std::array<KindLook, 4> kKinds = {{
    {"applynewsettinglabel", "apply_new_setting", "apply_new_setting_cancel"},
    {"resetallsettinglabel", "reset_all_setting", "reset_all_setting_cancel"},
    {"exitprogramlabel", "exit_program", "exit_program_cancel"},
    {"keyboardnotdetectedlabel", "keyboard_not_detected", "keyboard_not_detected_cancel"},
}};

constexpr PopupWindow::Frame kFrame{layouts::kConfirmationPopupLayout, {660, 294}, 30};

}  // namespace

CPopupMessageWnd* CPopupMessageWnd::open(int kind, ui::CControlUI* owner) {
    if (kind < 0 || kind >= static_cast<int>(kKinds.size())) {
        return nullptr;
    }
    return show_new(new CPopupMessageWnd(kind, owner), kFrame);
}

void CPopupMessageWnd::prepare() {
    for (size_t i = 0; i < kKinds.size(); ++i) {
        if (ui::CControlUI* label = control(kKinds[i].label)) {
            label->set_visible(static_cast<int>(i) == kind_);
        }
    }
    popup_open = 1;
}

bool CPopupMessageWnd::pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t) {
    if (msg != ui::WindowMessage::kKeyDown) {
        return false;
    }
    if (wparam == ui::kKeyReturn && enter_answers()) {
        answer(true);
        return true;
    }
    if (wparam == ui::kKeyEscape) {
        answer(false);
        return true;
    }
    return false;
}

void CPopupMessageWnd::on_notify(ui::TNotifyUI& msg) {
    if (msg.type != "click" || msg.sender == nullptr) {
        return;
    }
    if (msg.sender->name() == "popup_message_ok_btn") {
        answer(true);
    } else if (msg.sender->name() == "popup_message_cancel_btn") {
        answer(false);
    }
}

void CPopupMessageWnd::answer(bool ok) {
    popup_open = 0;
    const KindLook& look = kKinds[static_cast<size_t>(kind_)];
    send_result(ok ? look.ok_word : look.cancel_word);
    close();
}

}  // namespace talvoro::shell
