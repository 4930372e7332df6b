#include "shell/pages/button_assignment.h"

#include <algorithm>
#include <cstdio>

#include "core/menu.h"
#include "device/macro_codec.h"
#include "render/debug_log.h"
#include "shell/language/function_names.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/main_window_controls.h"
#include "shell/pages/function_menu.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/page_host.h"
#include "shell/popups/keys_message_wnd.h"
#include "shell/popups/macro_play_option_wnd.h"
#include "shell/popups/popup_state.h"
#include "store/key_table.h"
#include "store/left_button_rule.h"
#include "store/store_text.h"

namespace talvoro::shell {
namespace {

constexpr int kHighestButton = kButtonCount - 1;

bool valid_slot(int slot) {
    return slot >= 0 && slot < kProfileCount;
}

}  // namespace

std::string button_picture(int button, bool lit) {
    if (button < 0 || button > kHighestButton) {
        return {};
    }
    const ui::Rect& r = kButtonPictureSources[static_cast<size_t>(button)];
    char text[80];
    std::snprintf(text, sizeof text, "file='%s' source='%d,%d,%d,%d' ",
                  lit ? "MCBox2.bmp" : "MCBox.bmp", r.left, r.top, r.right, r.bottom);
    return text;
}

std::string key_field_text(const char* key_name, const char* key_word) {
    return std::string(" ") + key_name + " " + key_word + " ";
}

void ButtonAssignment::bind(LayoutPage& page, PageHost& host, const MainWindowControls& controls) {
    page_ = &page;
    host_ = &host;
    controls_ = &controls;
    lit_.fill(-1);
    for (ui::CButtonUI* field : controls.button_btns) {
        if (field != nullptr) {
            field->set_opens_menu(true);
        }
    }
}

ProfileBlock* ButtonAssignment::current_profile() {
    if (host_ == nullptr) {
        return nullptr;
    }
    const int slot = host_->current_profile_slot();
    return valid_slot(slot) ? &host_->store().profiles[slot] : nullptr;
}

bool ButtonAssignment::on_notify(ui::TNotifyUI& msg) {
    if (controls_ == nullptr) {
        return false;
    }
    if (msg.type == "button_singlekey") {
        on_key_chosen();
        return true;
    }
    if (msg.type == "macro_playoption_ok") {
        on_play_mode_chosen();
        return true;
    }
    if (msg.type != "click" || msg.sender == nullptr) {
        return false;
    }
    for (int i = 0; i < kButtonCount; ++i) {
        if (controls_->button_btns[static_cast<size_t>(i)] == msg.sender) {
            open_menu(i);
            return true;
        }
    }
    return false;
}

void ButtonAssignment::open_menu(int button) {
    if (warning_visible_) {
        hide_warning();
    }
    current_button_ = static_cast<uint8_t>(button);
    ui::CButtonUI* field = controls_->button_btns[static_cast<size_t>(button)];
    if (host_ == nullptr || field == nullptr) {
        return;
    }
    const int language = language_index();
    std::unique_ptr<ui::CMenuUI> menu =
        build_function_menu(host_->store(), language, language_info(language).default_font);
    // Below the field, its left edges lined up; the toolkit keeps it inside the window.
    const ui::Rect& at = field->pos();
    menu_open_ = ui::CMenuUI::show(host_->window().manager(), std::move(menu),
                                   ui::Point{at.left, at.bottom}, kFunctionMenuClosed) != nullptr;
}

void ButtonAssignment::on_command(int id) {
    if (id == kFunctionMenuClosed) {
        menu_open_ = false;
        return;
    }
    if (current_button_ > kHighestButton) {
        current_button_ = 0;
    }
    const std::optional<FunctionCommand> command = decode_function_command(id);
    if (command) {
        apply_command(*command);
    }
}

void ButtonAssignment::apply_command(const FunctionCommand& command) {
    ProfileBlock* profile = current_profile();
    if (profile == nullptr) {
        return;
    }
    const int b = current_button_;
    if (!command.keeps_left_click(b) && is_last_left_click(*profile, b)) {
        show_warning();
        return;
    }
    const int language = language_index();
    ui::CButtonUI* field = controls_->button_btns[static_cast<size_t>(b)];
    switch (command.action) {
        case FunctionAction::kAssign:
            profile->button_function[b] = command.code;
            set_field_text(b, function_name(command.code, language));
            break;
        case FunctionAction::kDefault: {
            const int32_t code = kDefaultButtons[static_cast<size_t>(b)];
            profile->button_function[b] = code;
            set_field_text(b, function_name(code, language));
            break;
        }
        case FunctionAction::kSingleKey:
            if (field != nullptr) {
                CKeysMessageWnd::open(field);
            }
            break;
        case FunctionAction::kMacro: {
            if (command.macro_index >= stored_macro_count(host_->store())) {
                return;
            }
            profile->button_function[b] = kMacro;
            profile->button_param[b] = command.macro_index + 1;
            const MacroRecord& macro = host_->store().macro_store.macros[command.macro_index];
            set_field_text(b, std::string(field_text(macro.name)));
            // The mouse plays a macro's first 128 events only: said now, not found out later.
            if (macro_event_count(macro) > TALVORO_MACRO_EVENTS) {
                char message[512];
                std::snprintf(message, sizeof message, text(TextRow::kMacroCut),
                              std::string(field_text(macro.name)).c_str());
                host_->show_notice(message);
            }
            if (field != nullptr) {
                CMacroPlayOptionWnd::open(b, host_->current_profile_slot(), host_->store(), field);
            }
            break;
        }
    }
}

void ButtonAssignment::on_key_chosen() {
    ProfileBlock* profile = current_profile();
    if (profile == nullptr) {
        return;
    }
    const int b = std::min<int>(current_button_, kHighestButton);
    const KeyChoice choice = read_key_choice(PopupResult);
    const KeyRow* key = choice.key();
    profile->button_function[b] = kSingleKey;
    // A popup closed without a key of the table leaves key 0, which no field can name.
    profile->button_param[b] = key != nullptr ? choice.virtual_key : 0;
    set_field_text(
        b, key != nullptr ? key_field_text(key->name, text(TextRow::kKeyWord)) : kUnknownKeyText);
}

void ButtonAssignment::on_play_mode_chosen() {
    ProfileBlock* profile = current_profile();
    const std::optional<PlayModeChoice> choice = read_play_mode_choice(PopupResult);
    if (profile == nullptr || !choice) {
        return;
    }
    profile->macro_play_mode[std::min<int>(current_button_, kHighestButton)] =
        choice->store_value();
}

void ButtonAssignment::show_warning() {
    ui::CControlUI* label = controls_->warning_labels[current_button_];
    warning_button_ = current_button_;
    if (label != nullptr) {
        label->set_attribute("align", "left");
        label->set_attribute("bkcolor", "#FF000000");
        label->set_attribute("nativebkcolor", "#FF000000");
        label->set_attribute("textcolor", "#00FF0000");
        label->set_text(text(TextRow::kLeftButtonWarning));
    }
    warning_visible_ = true;
    if (page_ != nullptr && host_ != nullptr &&
        !host_->window().manager().set_timer(page_, kWarningTimer, kWarningMs)) {
        ui::debug_log(
            "the left-button warning's timer could not be set; it goes at the next click");
    }
}

void ButtonAssignment::hide_warning() {
    ui::CControlUI* label = controls_->warning_labels[warning_button_];
    if (label != nullptr) {
        label->set_attribute("bkcolor", "#00000000");
        label->set_attribute("nativebkcolor", "#00000000");
        label->set_attribute("textcolor", "#00FFFFFF");
        label->set_text({});
    }
    warning_visible_ = false;
    if (page_ != nullptr && host_ != nullptr) {
        host_->window().manager().kill_timer(page_, kWarningTimer);
    }
}

void ButtonAssignment::on_timer(uintptr_t id) {
    if (id == kWarningTimer && controls_ != nullptr && warning_visible_) {
        hide_warning();
    }
}

void ButtonAssignment::set_field_text(int button, const std::string& text) {
    if (ui::CButtonUI* field = controls_->button_btns[static_cast<size_t>(button)]) {
        field->set_text(text);
    }
}

void ButtonAssignment::show_buttons(int slot) {
    if (controls_ == nullptr || host_ == nullptr || !valid_slot(slot)) {
        return;
    }
    const ProfileStore& store = host_->store();
    const ProfileBlock& profile = store.profiles[slot];
    const int language = language_index();
    const int macros = stored_macro_count(store);
    for (int b = 0; b < kButtonCount; ++b) {
        const int32_t code = profile.button_function[b];
        if (function_row_by_code(code) == nullptr && code != kMacro) {
            continue;
        }
        if (code == kMacro) {
            if (macros == 0) {
                continue;
            }
            // A number outside the macros in use names the first one, never a record not in use.
            const int32_t number = profile.button_param[b];
            const int index = number >= 1 && number <= macros ? number - 1 : 0;
            set_field_text(b, std::string(field_text(store.macro_store.macros[index].name)));
        } else if (code == kSingleKey) {
            const KeyRow* key = key_by_virtual_key(profile.button_param[b] & 0xFF);
            set_field_text(b, key != nullptr ? key_field_text(key->name, text(TextRow::kKeyWord))
                                             : kUnknownKeyText);
        } else {
            set_field_text(b, function_name(code, language));
        }
    }
}

void ButtonAssignment::on_pointer_moved(ui::Point point) {
    // The picture follows the pointer only on the main control page and not under the menu.
    if (controls_ == nullptr || host_ == nullptr || menu_open_ || host_->current_main_tab() != 0) {
        return;
    }
    for (size_t b = 0; b < static_cast<size_t>(kButtonCount); ++b) {
        ui::CControlUI* field = controls_->button_btns[b];
        ui::CControlUI* picture = controls_->button_image_labels[b];
        ui::CControlUI* name = controls_->button_labels[b];
        if (field == nullptr || picture == nullptr || name == nullptr) {
            continue;
        }
        const bool lit = name->pos().contains(point) || field->pos().contains(point);
        // Only a change is drawn again.
        if (lit_[b] != static_cast<int8_t>(lit)) {
            lit_[b] = static_cast<int8_t>(lit);
            picture->set_attribute("bkimage", button_picture(static_cast<int>(b), lit));
        }
    }
}

}  // namespace talvoro::shell
