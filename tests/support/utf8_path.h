// Test paths are UTF-8 strings; std::filesystem takes them as such only through char8_t (a
// plain std::string would be read in the system's code page on Windows).
#pragma once

#include <filesystem>
#include <string>

namespace talvoro::test {

inline std::filesystem::path utf8_path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace talvoro::test
