#include "platform/background_input.h"

namespace talvoro::platform {

// X11 hands keys only to the focused window, and Wayland offers no program the input of others;
// the recorder takes the window's own input.
bool start_background_input(const ui::CWindowWnd&, BackgroundInputSink) {
    return false;
}

void stop_background_input() {}

}  // namespace talvoro::platform
