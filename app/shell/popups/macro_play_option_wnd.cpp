#include "shell/popups/macro_play_option_wnd.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/combo.h"
#include "core/edit.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "layouts/layout_table.h"
#include "shell/language/text_table.h"
#include "shell/popups/message_box_wnd.h"
#include "shell/popups/popup_state.h"
#include "store/button_function.h"

namespace talvoro::shell {
namespace {

constexpr PopupWindow::Frame kFrame{layouts::kMacroPlayOptionPopupLayout, {658, 294}, 40};

constexpr const char* kCombo = "macro_playback_combo";
constexpr const char* kRepeatLabel = "macro_repeattimes_label";
constexpr const char* kRepeatEdit = "macro_repeattimes_edit";
constexpr int kRepeatDigits = 2;

// The count of "play N times": the whole text a decimal number from 1 to 99. Signs are refused
// too, though "-5" would fit in the edit's two characters.
std::optional<int> parse_repeat_count(const std::string& text) {
    if (text.empty() || text.size() > kRepeatDigits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int count = std::stoi(text);
    if (count == 0 || count >= 100) {
        return std::nullopt;
    }
    return count;
}

}  // namespace

int32_t PlayModeChoice::store_value() const {
    switch (mode) {
        case PlayMode::kNTimes:
            return repeat_count;
        case PlayMode::kWhilePressed:
            return kPlayWhilePressed;
        case PlayMode::kToggle:
            return kPlayToggle;
        case PlayMode::kOnce:
            break;
    }
    return 1;
}

std::optional<PlayModeChoice> read_play_mode_choice(const PopupResultArea& result) {
    const int mode = result.word(1) * 256 + result.word(0);
    const int count = result.word(5) * 256 + result.word(4);
    if (mode < static_cast<int>(PlayMode::kOnce) || mode > static_cast<int>(PlayMode::kToggle)) {
        return std::nullopt;
    }
    const auto play = static_cast<PlayMode>(mode);
    if (play == PlayMode::kNTimes && (count < 1 || count > kMaxRepeatCount)) {
        return std::nullopt;
    }
    return PlayModeChoice{play, count};
}

CMacroPlayOptionWnd* CMacroPlayOptionWnd::open(int button, int profile, const ProfileStore& store,
                                               ui::CControlUI* owner) {
    if (button < 0 || button >= kButtonCount || profile < 0 || profile >= kProfileCount) {
        return nullptr;
    }
    const int32_t mode = store.profiles[profile].macro_play_mode[button];
    return show_new(new CMacroPlayOptionWnd(mode, owner), kFrame);
}

int CMacroPlayOptionWnd::index_of_mode(int32_t mode) {
    if (mode >= 2 && mode <= 99) {
        return kNTimes;
    }
    if (mode == kPlayWhilePressed) {
        return kWhilePressed;
    }
    if (mode == kPlayToggle) {
        return kToggle;
    }
    return kOnce;
}

bool CMacroPlayOptionWnd::message_box_open() const {
    return message_box_ != 0 && find_popup(message_box_) != nullptr;
}

void CMacroPlayOptionWnd::prepare() {
    PopupResult.clear();
    repeat_count_ = 1;
    show_repeat_count(false, false);
    if (auto* edit = dynamic_cast<ui::CEditUI*>(control(kRepeatEdit))) {
        edit->set_attribute("font", "4");
        edit->set_attribute("nativebkcolor", "#FF000000");
        edit->set_attribute("textcolor", "#00FFFFFF");
        edit->set_max_char(kRepeatDigits);
    }
    // Shown whenever "play N times" is chosen, not only when it is preselected.
    if (ui::CControlUI* label = control(kRepeatLabel)) {
        label->set_text(text(TextRow::kDefineN));
    }
    auto* combo = dynamic_cast<ui::CComboUI*>(control(kCombo));
    if (combo != nullptr && combo->count() == 0) {
        combo->set_attribute("itemhotbkcolor", "#FFFF3C3C");
        combo->set_attribute("itemselectedbkcolor", "#FF3C3C3C");
        for (TextRow row : {TextRow::kPlayOnce, TextRow::kPlayNTimes, TextRow::kPlayWhilePressed,
                            TextRow::kPlayToggle}) {
            combo->add_item(text(row));
        }
    }
    const int index = index_of_mode(mode_);
    if (combo != nullptr) {
        combo->select_item(index, /*notify=*/false);
    }
    if (index == kNTimes) {
        if (ui::CControlUI* edit = control(kRepeatEdit)) {
            edit->set_text(std::to_string(mode_));
        }
        show_repeat_count(true, false);
    }
    popup_open = 1;
}

bool CMacroPlayOptionWnd::pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) {
    // While the message box is up, a press on the combo must not open its list.
    if ((msg == ui::WindowMessage::kButtonDown || msg == ui::WindowMessage::kDoubleClick) &&
        wparam == 1 && message_box_open()) {
        ui::CControlUI* combo = control(kCombo);
        return combo != nullptr && combo->pos().contains(ui::point_from_param(lparam));
    }
    if (msg == ui::WindowMessage::kKeyDown || msg == ui::WindowMessage::kTextInput) {
        if (message_box_open()) {
            return true;  // deaf to keys as to clicks until the box is answered
        }
        if (msg == ui::WindowMessage::kTextInput) {
            return false;
        }
        // Enter is OK and Escape Cancel, as in the other popups; an open list takes them first.
        if (wparam == ui::kKeyReturn && enter_answers()) {
            accept(control("macroplay_ok_btn"));
            return true;
        }
        if (wparam == ui::kKeyEscape && manager().overlay_count() == 0) {
            cancel();
            return true;
        }
    }
    return false;
}

void CMacroPlayOptionWnd::on_notify(ui::TNotifyUI& msg) {
    if (msg.type == "msgbox_ok_btn") {
        if (PopupWindow* box = find_popup(message_box_)) {
            box->close();
        }
        message_box_ = 0;
        return;
    }
    if (message_box_open() || msg.sender == nullptr) {
        return;
    }
    const std::string& name = msg.sender->name();
    if (msg.type == "itemselect" && name == kCombo) {
        show_repeat_count(static_cast<int>(msg.wparam) == kNTimes, true);
    } else if (msg.type == "click") {
        if (name == "macroplay_ok_btn") {
            accept(msg.sender);
        } else if (name == "macroplay_cancel_btn" || name == "macroplay_close_btn") {
            cancel();
        }
    }
}

void CMacroPlayOptionWnd::show_repeat_count(bool shown, bool focus) {
    if (ui::CControlUI* label = control(kRepeatLabel)) {
        label->set_visible(shown);
    }
    ui::CControlUI* edit = control(kRepeatEdit);
    if (edit != nullptr) {
        edit->set_visible(shown);
        if (shown && focus) {
            manager().set_focus(edit);
        }
    }
}

void CMacroPlayOptionWnd::accept(ui::CControlUI* ok_button) {
    auto* combo = dynamic_cast<ui::CComboUI*>(control(kCombo));
    const int index = combo != nullptr ? std::max(combo->current_index(), 0) : kOnce;
    if (index == kNTimes) {
        ui::CControlUI* edit = control(kRepeatEdit);
        const std::optional<int> count =
            parse_repeat_count(edit != nullptr ? edit->text() : std::string());
        if (!count) {
            if (!message_box_open()) {
                // The box reports back to this popup, which is its owner's window.
                CMessageBoxWnd* box =
                    CMessageBoxWnd::open(CMessageBoxWnd::kRepeatOutOfRange, ok_button);
                message_box_ = box != nullptr ? box->serial() : 0;
            }
            return;
        }
        repeat_count_ = *count;
    }
    if (repeat_count_ == 0) {
        repeat_count_ = 1;
    }
    const auto s = static_cast<uint16_t>(index);
    const auto n = static_cast<uint16_t>(repeat_count_);
    PopupResult.clear();
    PopupResult.set_word(0, s & 0xFF);
    PopupResult.set_word(1, s >> 8);
    PopupResult.set_word(2, static_cast<uint16_t>(s + 1));
    PopupResult.set_word(3, 0);
    PopupResult.set_word(4, n & 0xFF);
    PopupResult.set_word(5, n >> 8);
    send_result("macro_playoption_ok");
    popup_open = 0;
    close();
}

void CMacroPlayOptionWnd::cancel() {
    popup_open = 0;
    send_result("macro_playoption_cancel");
    close();
}

}  // namespace talvoro::shell
