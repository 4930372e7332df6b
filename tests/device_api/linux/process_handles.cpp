#include "process_handles.h"

#include <dirent.h>

namespace talvoro::test {

int open_handle_count() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (dir != nullptr && readdir(dir) != nullptr)
        ++count;
    if (dir != nullptr)
        closedir(dir);
    return count;
}

}  // namespace talvoro::test
