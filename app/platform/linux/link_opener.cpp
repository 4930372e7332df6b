#include "platform/link_opener.h"

#include "platform/detached_launch.h"

namespace talvoro::platform {

bool open_link(const std::string& address) {
    return launch_detached({"xdg-open", address}).started;
}

}  // namespace talvoro::platform
