#include "shell/popups/keys_message_wnd.h"

#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "layouts/layout_table.h"
#include "shell/language/text_table.h"
#include "shell/popups/popup_state.h"
#include "store/key_table.h"

namespace talvoro::shell {
namespace {

constexpr PopupWindow::Frame kFrame{layouts::kKeyEntryPopupLayout, {627, 296}, 30};

constexpr const char* kEdit = "keyspopup_name_edit";
constexpr const char* kShiftLabel = "singlekeyshiftlabel";
constexpr const char* kCtrlLabel = "singlekeyctrllabel";
constexpr const char* kAltLabel = "singlekeyaltlabel";
constexpr const char* kHeldColor = "#FFFFFFFF";
constexpr const char* kReleasedColor = "#FF000000";
constexpr uint16_t kNoKey = kNoKeyRow;

bool is_shift(int key) {
    return key == kVkShift || key == kVkLeftShift || key == kVkRightShift;
}
bool is_ctrl(int key) {
    return key == kVkControl || key == kVkLeftControl || key == kVkRightControl;
}
bool is_alt(int key) {
    return key == kVkMenu || key == kVkLeftMenu || key == kVkRightMenu;
}

}  // namespace

const KeyRow* KeyChoice::key() const {
    const std::span<const KeyRow> keys = key_table();
    return key_row < keys.size() ? &keys[key_row] : nullptr;
}

KeyChoice read_key_choice(const PopupResultArea& result) {
    return KeyChoice{result.word(0), result.word(1)};
}

CKeysMessageWnd* CKeysMessageWnd::open(ui::CControlUI* owner) {
    return show_new(new CKeysMessageWnd(owner), kFrame);
}

void CKeysMessageWnd::prepare() {
    PopupResult.clear();
    PopupResult.set_word(1, kNoKey);
    manager().set_default_font(1);
    if (ui::CControlUI* edit = control(kEdit)) {
        edit->set_attribute("font", "1");
        edit->set_attribute("nativebkcolor", "#FF000000");
        edit->set_attribute("textcolor", "#00FFFFFF");
        edit->set_attribute("textpadding", "200,0,0,-2");
    }
    if (ui::CControlUI* title = control("keysmessagetitlelabel")) {
        title->set_text(text(TextRow::kKeyPopupTitle));
    }
    if (ui::CControlUI* prompt = control("inputmessagelabel")) {
        prompt->set_text(text(TextRow::kKeyPopupPrompt));
    }
    if (ui::CControlUI* label = control(kShiftLabel)) {
        label->set_text("Shift");
    }
    if (ui::CControlUI* label = control(kCtrlLabel)) {
        label->set_text(" Ctrl");
    }
    if (ui::CControlUI* label = control(kAltLabel)) {
        label->set_text(" Alt ");
    }
    popup_open = 1;
}

bool CKeysMessageWnd::pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t) {
    switch (msg) {
        case ui::WindowMessage::kKeyDown:
            key_down(static_cast<int>(wparam));
            return true;
        case ui::WindowMessage::kKeyUp:
            key_up(static_cast<int>(wparam));
            return true;
        case ui::WindowMessage::kTextInput:
            return true;  // the edit shows key names only, never typed characters
        case ui::WindowMessage::kActivate:
            // Keys released while another window had the keyboard never reach this one.
            if (wparam == 0) {
                held_.clear();
                modifiers_ = 0;
            }
            return false;
        default:
            return false;
    }
}

void CKeysMessageWnd::key_down(int key) {
    // Once a key was taken and let go, Enter and Escape pressed alone answer, so the popup can
    // be used from the keyboard; pressed first, or with a key held, they are captured.
    if (answer_keys_ && held_.lowest() == 0 && (key == ui::kKeyReturn || key == ui::kKeyEscape)) {
        finish(key == ui::kKeyReturn ? "button_singlekey" : "button_singlekey_cancel");
        return;
    }
    held_.press(key);
    // A light goes dark at the first key pressed after its keys were let go.
    if ((modifiers_ & (kModLeftShift | kModRightShift)) == 0) {
        set_label_color(kShiftLabel, kReleasedColor);
    }
    if ((modifiers_ & (kModLeftCtrl | kModRightCtrl)) == 0) {
        set_label_color(kCtrlLabel, kReleasedColor);
    }
    if ((modifiers_ & (kModLeftAlt | kModRightAlt)) == 0) {
        set_label_color(kAltLabel, kReleasedColor);
    }
    if (is_shift(key)) {
        set_label_color(kShiftLabel, kHeldColor);
        modifiers_ |= held_.held(kVkLeftShift) ? kModLeftShift : kModRightShift;
    } else if (is_ctrl(key)) {
        set_label_color(kCtrlLabel, kHeldColor);
        modifiers_ |= key == kVkRightControl ? kModRightCtrl : kModLeftCtrl;
    } else if (is_alt(key)) {
        set_label_color(kAltLabel, kHeldColor);
        modifiers_ |= key == kVkRightMenu ? kModRightAlt : kModLeftAlt;
    }

    const int code = held_.lowest();
    if (code == 0) {
        return;
    }
    ui::CControlUI* edit = control(kEdit);
    const KeyRow* row = key_by_virtual_key(code);
    if (row == nullptr) {
        PopupResult.set_word(1, kNoKey);
        if (edit != nullptr) {
            edit->set_text("");
        }
        return;
    }
    if (edit != nullptr) {
        edit->set_text(row->name);
    }
    PopupResult.set_word(0, static_cast<uint16_t>(code));
    PopupResult.set_word(1, static_cast<uint16_t>(row - key_table().data()));
    PopupResult.set_word(2, row->usage & 0xFF);
    PopupResult.set_word(3, row->usage >> 8);
    PopupResult.set_word(4, modifiers_);
    PopupResult.set_word(5, 0);
}

void CKeysMessageWnd::key_up(int key) {
    held_.release(key);
    if (held_.lowest() == 0) {
        answer_keys_ = true;
    }
    // The lights keep their colour until the next key press.
    if (is_shift(key)) {
        modifiers_ &= static_cast<uint8_t>(~(kModLeftShift | kModRightShift));
    } else if (is_ctrl(key)) {
        modifiers_ &=
            static_cast<uint8_t>(~(key == kVkRightControl ? kModRightCtrl : kModLeftCtrl));
    } else if (is_alt(key)) {
        modifiers_ &= static_cast<uint8_t>(~(key == kVkRightMenu ? kModRightAlt : kModLeftAlt));
    }
}

void CKeysMessageWnd::set_label_color(const char* name, const char* color) {
    if (ui::CControlUI* label = control(name)) {
        label->set_attribute("textcolor", color);
    }
}

void CKeysMessageWnd::on_notify(ui::TNotifyUI& msg) {
    if (msg.type != "click" || msg.sender == nullptr) {
        return;
    }
    if (msg.sender->name() == "keyspopup_ok_btn") {
        finish("button_singlekey");
    } else if (msg.sender->name() == "keyspopup_cancel_btn") {
        finish("button_singlekey_cancel");
    }
}

void CKeysMessageWnd::finish(const char* word) {
    popup_open = 0;
    send_result(word);
    close();
}

}  // namespace talvoro::shell
