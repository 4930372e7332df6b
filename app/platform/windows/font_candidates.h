// Which font files stand for a family on Windows, in the order worth trying: the family's own
// file for the style, the faces of the text's language, then faces for any text; the system's
// files first, the ones shipped beside the program after (Wine has none of the layouts' families).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "render/font_locator.h"

namespace talvoro::ui {

struct FontFolders {
    std::vector<std::string> system;  // the Windows font folder, then the user's own
    std::string shipped;              // the program's "fonts" folder
};

// The files among `folders` that exist (as `exists` tells), best first, none twice.
std::vector<FontFile> font_candidates(const FontStyle& font, const std::string& language,
                                      char32_t codepoint, const FontFolders& folders,
                                      const std::function<bool(const std::string&)>& exists);

}  // namespace talvoro::ui
