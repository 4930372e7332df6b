// Showing a profile on the pages, and the interface language.
#include <cerrno>

#include "core/paint_manager.h"
#include "platform/program_paths.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/oskel_main_wnd.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/oskel_macro_manage_ui.h"
#include "store/settings_file.h"

namespace talvoro::shell {
void COskelMainWnd::page_refresh(int slot) {
    if (slot < 0 || slot >= kProfileCount) {
        return;
    }
    // The slot is the page profile while the pages fill themselves from it.
    current_profile_slot_ = static_cast<uint8_t>(slot);
    for (LayoutPage* shown : pages()) {
        if (shown != nullptr) {
            shown->on_page_refresh(slot);
        }
    }
    // The lighting follows the store, on screen and on the mouse.
    if (controls_.led_option != nullptr) {
        controls_.led_option->selected(store_.led_on != 0, false);
    }
    send_lighting(store_.led_on != 0);
}

void COskelMainWnd::change_language(int index) {
    if (index < 0 || index > 3) {
        return;
    }
    const std::string folder = skin_folder_path(index);
    ui::CPaintManagerUI::set_resource_path(folder);
    if (index == language_index()) {
        return;
    }
    set_language_index(index);
    manager().set_default_font(language_info(index).default_font);
    save_language(index);
    ui::CPaintManagerUI::reload_all_images(folder);
    page_refresh(current_profile_slot_);
    for (LayoutPage* shown : pages()) {
        if (shown != nullptr) {
            shown->on_language_changed();
        }
    }
}

void COskelMainWnd::save_language(int index) {
    if (!write_language(index)) {
        tell_not_saved(settings_file_path(), errno);
    }
}

void COskelMainWnd::language_layout_adjustment(int index) {
    // The macro page is the one whose geometry differs between the languages.
    if (macro_page_ != nullptr) {
        macro_page_->apply_language_layout(index);
    }
}

}  // namespace talvoro::shell
