#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "hid/virtual/virtual_wire.h"

namespace talvoro::hid::virtual_wire {

std::string default_folder() {
    if (const char* dir = std::getenv("TALVORO_HID_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && *runtime != '\0') {
        return std::string(runtime) + "/talvoro-hid";
    }
    return "/tmp/talvoro-hid-" + std::to_string(geteuid());
}

bool folder_is_trusted(const std::string& folder, std::string* why) {
    struct stat info {};
    // lstat: a symbolic link planted in place of the folder is not followed.
    if (lstat(folder.c_str(), &info) != 0) {
        if (why != nullptr)
            *why = "no such folder";
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        if (why != nullptr)
            *why = "not a folder";
        return false;
    }
    if (info.st_uid != geteuid()) {
        if (why != nullptr)
            *why = "owned by another user";
        return false;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        if (why != nullptr)
            *why = "writable by other users";
        return false;
    }
    return true;
}

}  // namespace talvoro::hid::virtual_wire
