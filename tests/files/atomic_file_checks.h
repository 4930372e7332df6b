// What the atomic-file tests of every system look at: a write of text, and the names a write
// leaves in its folder. The bytes are read back apart from the code under test
// (test::file_contents), with UTF-8 names on every system.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "support/temp_folder.h"
#include "support/utf8_path.h"

namespace talvoro::test {

inline bool write_text(const std::string& path, const std::string& text) {
    return write_file_atomically(path, text.data(), text.size());
}

// Every name in the folder, so that a temporary file left behind shows.
inline std::set<std::string> entries(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(utf8_path(folder.path()))) {
        const std::u8string name = entry.path().filename().u8string();
        names.insert(std::string(name.begin(), name.end()));
    }
    return names;
}

// Names in the folder besides `keep`: leftovers of a failed write.
inline std::vector<std::string> other_entries(const TempFolder& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const std::string& name : entries(folder)) {
        if (name != keep)
            names.push_back(name);
    }
    return names;
}

}  // namespace talvoro::test
