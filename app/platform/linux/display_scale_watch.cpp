// X11 has no scale per window (Xft.dpi is the desktop's, read at start-up), and on Wayland the
// window's backend reads the output's scale from its own buffer size.
#include "platform/sdl/display_scale_watch.h"

namespace talvoro::platform::sdl {

void watch_display_scale(SDL_Window*, ui::CWindowWnd&) {}

void stop_watching_display_scale(SDL_Window*) {}

}  // namespace talvoro::platform::sdl
