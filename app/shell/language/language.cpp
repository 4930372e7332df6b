#include "shell/language/language.h"

#include "platform/platform_names.h"
#include "platform/program_paths.h"

#include <array>
#include <cstddef>

namespace talvoro::shell {
namespace {

constexpr std::array<LanguageInfo, 4> kLanguages = {{
    {" English ", "TalvoroSkin", 1},
    {" 繁體中文 ", "TalvoroSkin1", 2},
    {" 简体中文 ", "TalvoroSkin2", 3},
    {" Deutsch ", "TalvoroSkin3", 1},
}};

// The UI thread is the only one that reads or writes it.
int current_language = 0;

}  // namespace

int known_language(int index) {
    return index >= 0 && index < static_cast<int>(kLanguages.size()) ? index : 0;
}

int language_index() {
    return current_language;
}

void set_language_index(int index) {
    current_language = known_language(index);
}

const LanguageInfo& language_info(int language) {
    return kLanguages[static_cast<size_t>(known_language(language))];
}

std::string skin_folder_path(int language) {
    return resource_directory() + language_info(language).skin_folder + kPathSeparator;
}

}  // namespace talvoro::shell
