#include "platform/program_paths.h"

#include "platform/platform_names.h"
#include "platform/program_paths_system.h"

namespace talvoro {

std::string program_directory() {
    const std::string path = os::executable_path();
    size_t end = path.size();
    while (end > 0 && !is_path_separator(path[end - 1]))
        --end;
    return path.substr(0, end);  // empty without a separator
}

std::string resource_directory() {
    return resource_directory_for(program_directory());
}

bool ensure_folder(const std::string& path) {
    if (path.empty())
        return false;
    if (os::is_directory(path))
        return true;
    // Each growing prefix in turn (/a, /a/b; C:, C:\A, C:\A\B); one that exists already, the
    // root, a drive or a share's server just fails.
    size_t position = 0;
    for (;;) {
        size_t separator = position;
        while (separator < path.size() && !is_path_separator(path[separator]))
            ++separator;
        const std::string prefix = path.substr(0, separator);
        if (!prefix.empty() && !is_path_separator(prefix.back()))
            os::make_directory(prefix);
        if (separator >= path.size())
            break;
        position = separator + 1;
    }
    return os::is_directory(path);
}

}  // namespace talvoro
