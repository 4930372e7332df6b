// Showing a profile on the pages, and the interface language.
#include <array>

#include "core/paint_manager.h"
#include "platform/program_paths.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/oskel_main_wnd.h"
#include "shell/pages/layout_page.h"
#include "store/settings_file.h"

namespace talvoro::shell {
namespace {

struct LanguageGeometry {
    const char* name;
    const char* attribute;
    const char* german;
    const char* others;
};

// The macro page's German captions are longer: its buttons widen and the edits beside them
// move.
constexpr std::array<LanguageGeometry, 6> kLanguageGeometry = {{
    {"macro_record_btn", "width", "143", "114"},
    {"insert_delay_time_btn", "width", "222", "169"},
    {"edit_delay_time_btn", "width", "234", "169"},
    {"default_delay_time_edit", "pos", "291,69,0,0", "221,68,0,0"},
    {"insert_delay_time_edit", "pos", "276,50,0,0", "225,50,0,0"},
    {"edit_delay_time_edit", "pos", "286,88,0,0", "225,88,0,0"},
}};

}  // namespace

void COskelMainWnd::page_refresh(int slot) {
    if (slot < 0 || slot > 4) {
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
    link_.set_leds(store_.led_on != 0);
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
    write_language(index);
    ui::CPaintManagerUI::reload_all_images(folder);
    page_refresh(current_profile_slot_);
    language_layout_adjustment(index);
    for (LayoutPage* shown : pages()) {
        if (shown != nullptr) {
            shown->on_language_changed();
        }
    }
}

void COskelMainWnd::language_layout_adjustment(int index) {
    const bool german = index > 2;
    for (const LanguageGeometry& entry : kLanguageGeometry) {
        if (ui::CControlUI* control = manager().find_control(entry.name)) {
            control->set_attribute(entry.attribute, german ? entry.german : entry.others);
            control->need_update();
        }
    }
}

}  // namespace talvoro::shell
