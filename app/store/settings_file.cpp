#include "store/settings_file.h"

#include <cstdio>

#include "platform/ini_file.h"
#include "platform/program_paths.h"

namespace talvoro {
namespace {

constexpr const char* kSection = "Configuration Option";
constexpr const char* kLanguageKey = "lang";
constexpr int kLanguages = 4;

}  // namespace

std::string settings_file_path() {
    return data_directory() + "config.ini";
}

int read_language() {
    const int language = ini_read_int(settings_file_path(), kSection, kLanguageKey, 0);
    return (language >= 0 && language < kLanguages) ? language : 0;
}

bool write_language(int language) {
    char text[16];
    std::snprintf(text, sizeof text, "%2.2d", language);
    // The data folder may be a fresh XDG folder that start-up could not make.
    // A folder that cannot be made fails the write below, which says so.
    static_cast<void>(ensure_folder(data_directory()));
    return ini_write_string(settings_file_path(), kSection, kLanguageKey, text);
}

}  // namespace talvoro
