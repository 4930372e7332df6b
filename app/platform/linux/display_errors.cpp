#include "platform/display_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <mutex>

namespace talvoro::platform {
namespace {

XErrorHandler earlier_handler = nullptr;

int filter_error(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) {
        return 0;
    }
    return earlier_handler != nullptr ? earlier_handler(display, error) : 0;
}

}  // namespace

void tolerate_events_to_gone_windows() {
    static std::once_flag once;
    std::call_once(once, [] { earlier_handler = XSetErrorHandler(filter_error); });
}

}  // namespace talvoro::platform
