// Showing a profile on the pages, and the interface language.
#include <array>

#include "core/paint_manager.h"
#include "platform/program_paths.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/oskel_main_wnd.h"
#include "shell/pages/layout_page.h"
#include "store/settings_file.h"
#include "store/store_text.h"

namespace talvoro::shell {
namespace {

// A profile's name as the profile blocks show it: the file name without a final ".qxp".
std::string shown_profile_name(const ProfileBlock& profile) {
    std::string name(field_text(profile.file_name));
    constexpr std::string_view kExtension = ".qxp";
    if (name.size() > kExtension.size() &&
        equals_ignoring_case(std::string_view(name).substr(name.size() - kExtension.size()),
                             kExtension)) {
        name.resize(name.size() - kExtension.size());
    }
    return name;
}

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
    for (int tab = 0; tab < 4; ++tab) {
        if (LayoutPage* shown = page(tab)) {
            shown->on_page_refresh(slot);
        }
    }
    const ProfileBlock& profile = store_.profiles[slot];
    // In-use switches of both profile blocks.
    for (const ProfileBlockControls* block :
         {&controls_.main_block, &controls_.performance_block}) {
        for (int i = 0; i < kProfileSlots; ++i) {
            if (ui::COptionUI* option = block->in_use_options[static_cast<size_t>(i)]) {
                option->selected(store_.profiles[i].in_use != 0, false);
            }
        }
    }
    // The profile's name, in both blocks or in neither.
    ui::CControlUI* main_name = controls_.main_block.name_label;
    ui::CControlUI* performance_name = controls_.performance_block.name_label;
    if (main_name != nullptr && performance_name != nullptr) {
        const std::string name = shown_profile_name(profile);
        main_name->set_text(name);
        performance_name->set_text(name);
    }
    // The lighting follows the store, on screen and on the mouse.
    if (controls_.led_option != nullptr) {
        controls_.led_option->selected(store_.led_on != 0, false);
    }
    link_.set_leds(store_.led_on != 0);
    // The slot becomes the page profile, selected in both blocks.
    current_profile_slot_ = static_cast<uint8_t>(slot);
    for (const ProfileBlockControls* block :
         {&controls_.main_block, &controls_.performance_block}) {
        if (ui::COptionUI* option = block->profile_options[static_cast<size_t>(slot)]) {
            option->selected(true, false);
        }
    }
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
    if (LayoutPage* macros = page(2)) {
        macros->on_language_changed();
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
