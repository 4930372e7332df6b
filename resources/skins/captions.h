// Every caption painted into the skin pictures, one table per language.
#pragma once

#include <array>
#include <string>

#include "render/font_style.h"

namespace talvoro::skins {

struct Captions {
    std::string folder;  // the skin folder, beside the program
    ui::FontStyle font;  // the layouts' font of this language, so painted and live text match
    std::string product;
    std::string apply_question;
    std::string reset_question;
    std::string exit_question;
    std::string device_question;
    std::string macro_limit_message;
    std::string repeat_range_message;
    std::string record;
    int record_width = 0;  // the record button's width in this language's layout
};

// English, traditional Chinese, simplified Chinese, German: the language index order.
const std::array<Captions, 4>& all_captions();

}  // namespace talvoro::skins
