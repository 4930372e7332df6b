// The shape of a borderless window from its opaque rectangles: the X Shape extension on Linux,
// a window region on Windows.
// SDL's own shaped windows are not used: they start off-screen, show themselves on the first
// shape and have no shaper under the dummy driver.
#pragma once
#include <SDL2/SDL_video.h>

#include <vector>

#include "render/rect.h"

namespace talvoro::platform::sdl {

// Empty `opaque` removes the shape. False when the window has no native window to shape (the
// dummy driver, or another display system).
bool apply_window_shape(SDL_Window* window, const std::vector<ui::Rect>& opaque);
// The window's current shape as the system reports it; false when there is none to read.
bool read_window_shape(SDL_Window* window, std::vector<ui::Rect>& out);

}  // namespace talvoro::platform::sdl
