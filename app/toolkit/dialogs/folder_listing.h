// The entries of a folder as a file chooser lists them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvoro::ui {

struct FolderEntry {
    std::string name;
    bool is_folder = false;
    uint64_t size = 0;  // bytes, for files
};

// True when `name` matches one of the glob patterns ("*.qxp"), ignoring case as the program's
// files copied from Windows want; every name matches an empty list.
bool matches_any(std::string_view name, const std::vector<std::string>& patterns);

// Sub-folders (links to folders included), then the files that match `patterns`, each group
// sorted by name ignoring case; hidden entries (a leading '.') are left out. Nothing when the
// folder cannot be read.
std::optional<std::vector<FolderEntry>> list_folder(const std::string& folder,
                                                    const std::vector<std::string>& patterns);

// "12 KB" and the like, for the size column.
std::string size_text(uint64_t bytes);

}  // namespace talvoro::ui
