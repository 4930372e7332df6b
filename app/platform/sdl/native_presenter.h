// Shows a window's pixels where SDL's window surface cannot: on Wayland that surface is neither
// drawn at the output's scale nor transparent, so the window's own buffer goes to the compositor.
#pragma once
#include <SDL2/SDL_video.h>

#include <memory>
#include <vector>

#include "render/image.h"
#include "render/rect.h"

namespace talvoro::platform::sdl {

class NativePresenter {
  public:
    virtual ~NativePresenter() = default;
    // Shows `image` (straight-alpha RGBA, physical pixels), the `rects` of it changed; what lies
    // outside the shape is transparent. `units_scale` is the display's pixels per window unit.
    virtual bool present(const ui::Image& image, const std::vector<ui::Rect>& rects,
                         int units_scale) = 0;
    // Opaque rectangles in physical pixels; empty for the whole window.
    virtual void set_shape(const std::vector<ui::Rect>& opaque) = 0;
};

// Null where SDL's window surface serves (X11, Windows).
std::unique_ptr<NativePresenter> make_native_presenter(SDL_Window* window);

}  // namespace talvoro::platform::sdl
