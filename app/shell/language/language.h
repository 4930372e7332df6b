// The interface language: one process-wide index that picks, at the same moment, the texts the
// program writes, the skin folder its pictures come from and the default font.
#pragma once

#include <string>

namespace talvoro::shell {

// 0 English, 1 traditional Chinese, 2 simplified Chinese, 3 German.
int language_index();
// Anything outside 0..3 becomes English.
void set_language_index(int index);
// The index itself for 0..3, English (0) for anything else.
int known_language(int index);

struct LanguageInfo {
    const char* combo_text;   // the item of the language combo
    const char* skin_folder;  // beside the program, without a trailing separator
    int default_font;         // index into the main layout's fonts
};
// Any other index gives the English row.
const LanguageInfo& language_info(int language);

// The language's skin folder in the program's resources, with a trailing separator.
std::string skin_folder_path(int language);

}  // namespace talvoro::shell
