#include "platform/program_paths.h"

#include "platform/program_paths_system.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace talvoro {
namespace {

// The first skin folder: resources beside a program mean a build or relocatable folder.
constexpr const char* kSkinFolder = "TalvoroSkin";

std::string with_trailing_slash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string home_directory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

}  // namespace

namespace os {

std::string executable_path() {
    std::vector<char> buffer(512);
    while (buffer.size() <= (size_t{1} << 20)) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);  // the link may have been cut: try again larger
    }
    return {};
}

bool is_directory(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void make_directory(const std::string& path) {
    ::mkdir(path.c_str(), 0777);  // the umask decides the mode
}

}  // namespace os

std::string resource_directory_for(const std::string& program_dir) {
    const std::string folder = with_trailing_slash(program_dir);
    if (os::is_directory(folder + kSkinFolder))
        return folder;
    // <prefix>/bin/ -> <prefix>/share/talvoro/
    std::string parent = folder;
    if (!parent.empty())
        parent.pop_back();
    const size_t slash = parent.rfind('/');
    if (slash != std::string::npos) {
        const std::string shared = parent.substr(0, slash + 1) + "share/talvoro/";
        if (os::is_directory(shared))
            return shared;
    }
    return folder;
}

std::string data_directory() {
    return data_directory_for(program_directory());
}

std::string data_directory_for(const std::string& program_dir) {
    const char* chosen = std::getenv("TALVORO_DATA_DIR");
    if (chosen != nullptr && chosen[0] != '\0')
        return with_trailing_slash(chosen);
    // Only a build or relocatable folder, its skins beside it, keeps data beside the program; an
    // installed bin/ (skins in share/talvoro/) never does, even when it is writable, as for root.
    const std::string folder = with_trailing_slash(program_dir);
    if (!folder.empty() && os::is_directory(folder + kSkinFolder) &&
        ::access(folder.c_str(), W_OK | X_OK) == 0)
        return folder;
    // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG rules say.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return with_trailing_slash(xdg) + "talvoro/";
    const std::string home = home_directory();
    if (!home.empty())
        return with_trailing_slash(home) + ".local/share/talvoro/";
    return folder;  // nowhere better: writes there fail and are reported as failures
}

}  // namespace talvoro
