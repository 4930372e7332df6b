// What the atomic-file tests of every system look at: a file's bytes, a write of text, and the
// leftovers of a failed write.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace talvoro::test {

inline std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool write_text(const std::string& path, const std::string& text) {
    return write_file_atomically(path, text.data(), text.size());
}

// Names in the folder besides `keep`: leftovers of a failed write.
inline std::vector<std::string> other_entries(const TempFolder& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        if (entry.path().filename() != keep)
            names.push_back(entry.path().filename().string());
    }
    return names;
}

}  // namespace talvoro::test
