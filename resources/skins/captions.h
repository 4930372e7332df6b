// Every caption painted into the skin pictures, one table per language.
#pragma once

#include <array>
#include <string>

#include "render/font_style.h"

namespace talvoro::skins {

struct Captions {
    std::string folder;  // the skin folder, beside the program
    // The layouts' fonts of this language, so painted and live text match: `font` at 14
    // pixels, `small_font` for dense rows (Verdana 12; the Chinese faces exist only at 14).
    ui::FontStyle font;
    ui::FontStyle small_font;

    // Title row, tabs and bottom row.
    std::string product;
    std::string product_subtitle;
    std::string led;
    std::array<std::string, 4> tabs;  // main control, performance, macro, support
    std::string reset_all;
    std::string quit;

    // The profile blocks; the profile number is appended to `profile`.
    std::string profile;
    std::string in_use;
    std::array<std::string, 4> profile_buttons;  // load, save, cancel, apply

    // Main control page: the eleven mouse buttons in button order and the resolution levels
    // (the level number is appended).
    std::array<std::string, 11> button_names;
    std::string dpi_level;

    // Performance page: the five slider captions, then report rate, power saving, smoothing;
    // the option captions in layout order (four rates, three power modes, smoothing off, on).
    std::array<std::string, 8> performance_captions;
    std::array<std::string, 9> performance_options;

    // Macro page.
    std::string macro_list;
    std::string macro_steps;
    std::array<std::string, 5> macro_buttons;  // new, rename, delete, import, export
    std::string record;
    std::string stop;
    std::string ignore_delay;
    std::string fixed_delay;
    std::string insert_mouse_event;
    std::string delete_step;
    std::string insert_delay;
    std::string edit_delay;
    // Widths the program gives the record and delay buttons in this language; their pictures
    // are drawn at exactly these widths.
    int record_width = 0;
    int insert_delay_width = 0;
    int edit_delay_width = 0;

    // Support page.
    std::string update_app;
    std::string update_fw;
    std::string website;
    std::string social_network;
    std::string open_website;
    std::string open_social_network;

    // Popups.
    std::string ok;
    std::string cancel;
    std::string play_option_title;
    std::string play_mode;
    std::string apply_question;
    std::string reset_question;
    std::string exit_question;
    std::string device_question;
    std::string macro_limit_message;
    std::string repeat_range_message;
};

// English, traditional Chinese, simplified Chinese, German: the language index order.
const std::array<Captions, 4>& all_captions();

}  // namespace talvoro::skins
