// The main window's dispatch: every notification of its controls, every result word of its
// popups, and the window-level actions they start.
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/tab_layout.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/oskel_main_wnd.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/oskel_macro_manage_ui.h"
#include "shell/pages/oskel_main_control_ui.h"
#include "shell/pages/oskel_performance_ui.h"
#include "shell/pages/oskel_support_ui.h"
#include "shell/popups/popup_message_wnd.h"
#include "store/macro_files.h"
#include "store/profile_files.h"

namespace talvoro::shell {
namespace {

// The confirmation popups' result words and the flag each clears.
struct ResultWord {
    const char* type;
    uint32_t clears;
};
constexpr std::array<ResultWord, 11> kResultWords = {{
    {"apply_new_setting", kApplyConfirmShown},
    {"apply_new_setting_cancel", kApplyConfirmShown},
    {"reset_all_setting", kResetConfirmShown},
    {"reset_all_setting_cancel", kResetConfirmShown},
    {"exit_program", kExitConfirmShown},
    {"exit_program_cancel", kExitConfirmShown},
    {"keyboard_not_detected", kNotDetectedShown},
    {"keyboard_not_detected_cancel", kNotDetectedShown},
    {"msgbox_ok_btn", kMacroLimitShown},
    {"button_singlekey_cancel", 0},
    {"macro_playoption_cancel", 0},
}};

constexpr std::array<uint32_t, 3> kConfirmationBits = {kApplyConfirmShown, kResetConfirmShown,
                                                       kExitConfirmShown};

}  // namespace

void COskelMainWnd::window_init() {
    if (window_initialised_) {
        return;
    }
    window_initialised_ = true;
    controls_.tabs[0] = dynamic_cast<ui::COptionUI*>(manager().find_control("maincontrolbtn"));
    current_main_tab_ = 0;
    if (controls_.tabs[0] != nullptr) {
        controls_.tabs[0]->selected(true, false);
    }
    if (auto* tabs = dynamic_cast<ui::CTabLayoutUI*>(controls_.tab_layout)) {
        tabs->select_item(0);
    }
    // What the window shows before the read is on screen while the mouse answers.
    paint_now();
    presence_.initial_check();
}

void COskelMainWnd::notify(ui::TNotifyUI& msg) {
    // While recording only the stop button is heard.
    if (recording() && (msg.sender == nullptr || msg.sender->name() != "macro_record_stop_btn")) {
        return;
    }
    const std::string& type = msg.type;
    if (type == "windowinit") {
        window_init();
    } else if (type == "click") {
        on_click(msg);
    } else if (type == "selectchanged") {
        on_select_changed(msg);
    } else if (type == "itemselect") {
        if (msg.sender != nullptr && msg.sender == controls_.language_combo) {
            const int index = controls_.language_combo->current_index();
            if (index >= 0) {
                change_language(index);
            }
        } else {
            route_to_pages(msg);  // a list's selection by keys
        }
    } else if (type == "itemclick" || type == "edit_return") {
        route_to_pages(msg);
    } else if (type == "button_singlekey" || type == "macro_playoption_ok") {
        if (main_page_ != nullptr) {
            main_page_->on_notify(msg);
        }
    } else if (!on_popup_result(type)) {
        route_to_pages(msg);
    }
}

void COskelMainWnd::on_command(int id) {
    // Each page declares the commands of its own menus; the submenu entries do nothing.
    for (LayoutPage* owner : pages()) {
        if (owner != nullptr && owner->handles_command(id)) {
            owner->on_command(id);
            return;
        }
    }
}

void COskelMainWnd::on_click(ui::TNotifyUI& msg) {
    ui::CControlUI* sender = msg.sender;
    if (sender == nullptr) {
        return;
    }
    const ProfileBlockControls& main = controls_.main_block;
    const ProfileBlockControls& perf = controls_.performance_block;
    if (sender == controls_.close_btn || sender == controls_.quit_btn) {
        open_confirmation(kExitConfirmation, sender);
    } else if (sender == controls_.master_reset_btn) {
        open_confirmation(kResetConfirmation, sender);
    } else if (sender == main.ok_btn || sender == perf.ok_btn) {
        bool any_in_use = false;
        for (const ProfileBlock& profile : store_.profiles) {
            any_in_use = any_in_use || profile.in_use != 0;
        }
        if (any_in_use) {
            open_confirmation(kApplyConfirmation, sender);
        } else {
            show_notice(text(TextRow::kNoProfileInUse));
        }
    } else {
        route_to_pages(msg);
    }
}

void COskelMainWnd::on_select_changed(ui::TNotifyUI& msg) {
    auto* option = dynamic_cast<ui::COptionUI*>(msg.sender);
    if (option == nullptr) {
        return;
    }
    // Main tabs: the tab layout switches only when its page differs.
    for (size_t tab = 0; tab < kTabNames.size(); ++tab) {
        if (option->name() != kTabNames[tab] || !option->is_selected()) {
            continue;
        }
        auto* tabs = dynamic_cast<ui::CTabLayoutUI*>(controls_.tab_layout);
        if (tabs != nullptr && tabs->selected_index() != static_cast<int>(tab)) {
            tabs->select_item(static_cast<int>(tab));
            if (tab <= 1) {
                page_refresh(current_profile_slot_);
            }
        }
        current_main_tab_ = static_cast<uint8_t>(tab);
    }
    if (option == controls_.led_option) {
        store_.led_on = option->is_selected() ? 1 : 0;
        send_lighting(option->is_selected());
    }
    route_to_pages(msg);
}

bool COskelMainWnd::on_popup_result(const std::string& type) {
    const ResultWord* word = nullptr;
    for (const ResultWord& candidate : kResultWords) {
        if (type == candidate.type) {
            word = &candidate;
        }
    }
    if (word == nullptr) {
        return false;
    }
    uint32_t& flags = presence_.state().popup_flags;
    flags &= ~word->clears;
    if (type == "apply_new_setting") {
        apply();
    } else if (type == "reset_all_setting") {
        reset_all();
    } else if (type == "exit_program") {
        quit();
    } else if (type == "keyboard_not_detected" && device_absent()) {
        open_not_detected();
    }
    return true;
}

void COskelMainWnd::open_confirmation(int kind, ui::CControlUI* owner) {
    uint32_t& flags = presence_.state().popup_flags;
    if ((flags & kConfirmationsShown) != 0) {
        return;
    }
    if (CPopupMessageWnd::open(kind, owner) != nullptr) {
        flags |= kConfirmationBits[static_cast<size_t>(kind)];
    }
}

void COskelMainWnd::open_not_detected() {
    ui::CControlUI* owner = controls_.quit_btn != nullptr ? controls_.quit_btn : manager().root();
    if (owner != nullptr && CPopupMessageWnd::open(kNotDetectedConfirmation, owner) != nullptr) {
        presence_.state().popup_flags |= kNotDetectedShown;
    }
}

void COskelMainWnd::apply() {
    store_.current_profile = current_profile_slot_ + 1;
    // The confirmation has gone: show that before the mouse takes its two seconds.
    paint_now();
    const uint8_t status = exchange_.apply_all();
    // The files keep the edits whatever the mouse said, so nothing the user did is lost.
    save_state_files();
    tell_apply_result(status);
}

void COskelMainWnd::tell_apply_result(uint8_t status) {
    if (status == QX_STATUS_DONE) {
        return;
    }
    if (const int profile = exchange_.rejected_profile(); profile != 0) {
        char message[512];
        std::snprintf(message, sizeof message, text(TextRow::kProfileTooFull), profile);
        show_notice(message);
        return;
    }
    show_notice(text(TextRow::kApplyFailed));
}

void COskelMainWnd::reset_all() {
    exchange_.reset_all_profiles();
    current_profile_slot_ = 0;
    paint_now();
    const uint8_t status = exchange_.apply_all();
    save_state_files();
    select_profile_tab(0, true);
    tell_apply_result(status);
}

void COskelMainWnd::tell_not_saved(const std::string& path, int error) {
    char message[1024];
    std::snprintf(message, sizeof message, text(TextRow::kFileNotSaved), path.c_str(),
                  std::strerror(error));
    show_notice(message);
}

void COskelMainWnd::save_state_files() {
    if (!write_all_profiles(store_)) {
        tell_not_saved(all_profiles_path(), errno);
    }
    if (write_macro_store(store_.macro_store, macro_store_path()) == 0) {
        tell_not_saved(macro_store_path(), errno);
    }
}

void COskelMainWnd::show_notice(const std::string& message) {
    if (services_.notices != nullptr) {
        services_.notices->show_notice(message, kNoticeCaption);
    }
}

void COskelMainWnd::select_profile_tab(int slot, bool send_click) {
    ui::COptionUI* option = controls_.main_block.profile_options[static_cast<size_t>(slot)];
    if (option == nullptr) {
        if (send_click) {
            page_refresh(slot);
        }
        return;
    }
    option->selected(true, false);
    if (send_click) {
        manager().send_notify(option, "click");
    }
}

bool COskelMainWnd::route_to_pages(ui::TNotifyUI& msg) {
    for (ui::CControlUI* control = msg.sender; control != nullptr; control = control->parent()) {
        if (auto* owner = dynamic_cast<LayoutPage*>(control)) {
            return owner->on_notify(msg);
        }
    }
    return false;
}

std::array<LayoutPage*, 4> COskelMainWnd::pages() const {
    return {main_page_, performance_page_, macro_page_, support_page_};
}

int COskelMainWnd::current_button() const {
    return main_page_ != nullptr ? main_page_->buttons().current_button() : 0;
}

bool COskelMainWnd::menu_open() const {
    return main_page_ != nullptr && main_page_->buttons().menu_open();
}

}  // namespace talvoro::shell
