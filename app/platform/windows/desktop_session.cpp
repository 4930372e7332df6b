#include "platform/desktop_display.h"

namespace talvoro::platform {

// A Windows program always runs on its session's desktop; a service or a locked station still
// has one, where windows simply stay unseen.
bool desktop_session_named() {
    return true;
}

}  // namespace talvoro::platform
