#include <dirent.h>

#include <fstream>
#include <string>

#include "device_monitor_fixture.h"

namespace talvoro::test {

int monitor_thread_count() {
    int count = 0;
    DIR* dir = opendir("/proc/self/task");
    while (const dirent* entry = dir != nullptr ? readdir(dir) : nullptr) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string name;
        if (std::getline(comm, name) && name == "talvoro-monitor")
            ++count;
    }
    if (dir != nullptr)
        closedir(dir);
    return count;
}

}  // namespace talvoro::test
