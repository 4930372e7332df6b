#include "linux/parent_watch.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace talvoro::virtual_mouse::posix {

bool terminate_with_parent() {
    const pid_t parent = getppid();
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0)
        return false;
    // The parent may have ended before the request was made.
    return getppid() == parent && parent != 1;
}

}  // namespace talvoro::virtual_mouse::posix
