// Where the system gives each window a scale of its own (Windows' per-monitor DPI), the window
// takes it as it is created and again whenever the system says it changed: moved to a monitor of
// another scale, or the monitor's setting changed.
#pragma once
#include <SDL2/SDL_video.h>

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform::sdl {

// Tells `window` its display's scale now (ui::CWindowWnd::platform_scale), and from then on.
void watch_display_scale(SDL_Window* sdl_window, ui::CWindowWnd& window);
// Before the SDL window goes.
void stop_watching_display_scale(SDL_Window* sdl_window);

}  // namespace talvoro::platform::sdl
