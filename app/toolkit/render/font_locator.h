// Where a font's face lives on this system: the files worth trying for a family, a style, a
// language and (for a fallback) a character, best first. One per operating system, in
// app/platform/<system>/font_locator.cpp; the font cache opens what it names and checks that the
// face has the character.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "render/font_style.h"

namespace talvoro::ui {

struct FontFile {
    std::string path;  // UTF-8
    int index = 0;     // the face in a collection (.ttc)
};

class FontLocator {
  public:
    virtual ~FontLocator() = default;
    // `language` is "zh-tw", "zh-cn" or "" for any; `codepoint` 0 when no character is asked for.
    virtual std::vector<FontFile> locate(const FontStyle& font, const std::string& language,
                                         char32_t codepoint) = 0;
};

// The system's locator; null when its font machinery cannot start.
std::unique_ptr<FontLocator> make_font_locator();

}  // namespace talvoro::ui
