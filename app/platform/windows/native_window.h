// The Windows window behind an SDL window, or behind a toolkit window; null when there is none
// (the dummy driver, a headless window).
#pragma once

#include <windows.h>

struct SDL_Window;

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform {

HWND native_window(SDL_Window* window);
HWND native_window(const ui::CWindowWnd* window);

}  // namespace talvoro::platform
