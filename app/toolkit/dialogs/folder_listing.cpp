#include "dialogs/folder_listing.h"

#include <dirent.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>

namespace talvoro::ui {

bool matches_any(std::string_view name, const std::vector<std::string>& patterns) {
    if (patterns.empty()) {
        return true;
    }
    const std::string text(name);
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return fnmatch(pattern.c_str(), text.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0;
    });
}

std::optional<std::vector<FolderEntry>> list_folder(const std::string& folder,
                                                    const std::vector<std::string>& patterns) {
    DIR* stream = opendir(folder.empty() ? "." : folder.c_str());
    if (stream == nullptr) {
        return std::nullopt;
    }
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    std::vector<FolderEntry> folders;
    std::vector<FolderEntry> files;
    while (const dirent* entry = readdir(stream)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') {
            continue;
        }
        struct stat info {};
        // stat follows links: a link to a folder is a folder to the user.
        if (::stat((prefix + name).c_str(), &info) != 0) {
            continue;  // a broken link leads nowhere
        }
        if (S_ISDIR(info.st_mode)) {
            folders.push_back(FolderEntry{name, true, 0});
        } else if (matches_any(name, patterns)) {
            files.push_back(FolderEntry{name, false, static_cast<uint64_t>(info.st_size)});
        }
    }
    closedir(stream);
    const auto by_name = [](const FolderEntry& a, const FolderEntry& b) {
        const int order = strcasecmp(a.name.c_str(), b.name.c_str());
        return order != 0 ? order < 0 : a.name < b.name;
    };
    std::sort(folders.begin(), folders.end(), by_name);
    std::sort(files.begin(), files.end(), by_name);
    folders.insert(folders.end(), std::make_move_iterator(files.begin()),
                   std::make_move_iterator(files.end()));
    return folders;
}

std::string size_text(uint64_t bytes) {
    constexpr uint64_t kKilo = 1024;
    if (bytes < kKilo) {
        return std::to_string(bytes) + " B";
    }
    if (bytes < kKilo * kKilo) {
        return std::to_string((bytes + kKilo - 1) / kKilo) + " KB";
    }
    const uint64_t tenths = (bytes * 10 + kKilo * kKilo / 2) / (kKilo * kKilo);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

}  // namespace talvoro::ui
