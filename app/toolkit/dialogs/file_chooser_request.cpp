#include "dialogs/file_chooser_request.h"

#include <sys/stat.h>

namespace talvoro::ui {

bool has_extension(std::string_view path) {
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot != std::string_view::npos && dot > 0 && dot + 1 < name.size();
}

std::string with_default_extension(std::string path, std::string_view extension) {
    while (!extension.empty() && extension.front() == '.') {
        extension.remove_prefix(1);
    }
    if (extension.empty() || has_extension(path)) {
        return path;
    }
    if (path.empty() || path.back() != '.') {
        path += '.';
    }
    path += extension;
    return path;
}

SaveChoice completed_save_choice(std::string chosen, std::string_view extension) {
    SaveChoice choice;
    choice.path = with_default_extension(chosen, extension);
    struct stat info {};
    choice.unasked_replace =
        choice.path != chosen && ::stat(choice.path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
    return choice;
}

}  // namespace talvoro::ui
