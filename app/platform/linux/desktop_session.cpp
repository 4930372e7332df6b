#include <cstdlib>
#include <initializer_list>

#include "platform/desktop_display.h"

namespace talvoro::platform {

bool desktop_session_named() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

}  // namespace talvoro::platform
