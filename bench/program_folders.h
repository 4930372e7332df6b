// The program as a benchmark starts it on Linux: no mouse, and a data and runtime folder of the
// benchmark's own under /tmp, set in this process's environment for every start.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <string>

namespace talvoro::bench {

// Returns the base folder (`prefix` followed by a unique name), for the caller to remove.
inline std::string use_private_program_folders(const std::string& prefix) {
    std::string name = prefix + "XXXXXX";
    const std::string base = mkdtemp(name.data()) != nullptr ? name : "/tmp";
    const auto folder = [&](const char* sub) {
        const std::string path = base + sub;
        mkdir(path.c_str(), 0700);
        return path;
    };
    setenv("TALVORO_HID_DIR", folder("/hid").c_str(), 1);
    setenv("TALVORO_HID_BACKENDS", "virtual", 1);
    setenv("TALVORO_DATA_DIR", folder("/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder("/run").c_str(), 1);
    return base;
}

}  // namespace talvoro::bench
