// A font as layouts name it: a family ("Verdana", "微软雅黑"), a pixel size and a style.
#pragma once

#include <string>

namespace talvoro::ui {

struct FontStyle {
    std::string family;
    int pixel_size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;

    bool operator==(const FontStyle&) const = default;
};

}  // namespace talvoro::ui
