// The shape of a borderless window from its opaque rectangles, through the X Shape extension.
// SDL's own shaped windows are not used: they start off-screen, show themselves on the first
// shape and have no shaper under the dummy driver.
#pragma once
#include <SDL2/SDL_video.h>

#include <vector>

#include "render/rect.h"

namespace talvoro::platform::sdl {

// Empty `opaque` removes the shape. False when the window is not on X11.
bool apply_window_shape(SDL_Window* window, const std::vector<ui::Rect>& opaque);
// The window's current bounding shape as X reports it; nothing when not on X11.
bool read_window_shape(SDL_Window* window, std::vector<ui::Rect>& out);

}  // namespace talvoro::platform::sdl
