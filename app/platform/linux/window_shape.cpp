#include "platform/sdl/window_shape.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <climits>

namespace talvoro::platform::sdl {
namespace {

bool x11_handles(SDL_Window* window, Display*& display, ::Window& xwindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    display = info.info.x11.display;
    xwindow = info.info.x11.window;
    return true;
}

short clamp_short(int v) {
    return static_cast<short>(std::clamp(v, SHRT_MIN, SHRT_MAX));
}
unsigned short clamp_ushort(int v) {
    return static_cast<unsigned short>(std::clamp(v, 0, USHRT_MAX));
}

}  // namespace

bool apply_window_shape(SDL_Window* window, const std::vector<ui::Rect>& opaque) {
    Display* display = nullptr;
    ::Window xwindow = 0;
    if (!x11_handles(window, display, xwindow)) {
        return false;
    }
    int event_base = 0;
    int error_base = 0;
    if (!XShapeQueryExtension(display, &event_base, &error_base)) {
        return false;
    }
    if (opaque.empty()) {
        XShapeCombineMask(display, xwindow, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        std::vector<XRectangle> rects;
        rects.reserve(opaque.size());
        for (const ui::Rect& r : opaque) {
            if (!r.empty()) {
                rects.push_back(XRectangle{clamp_short(r.left), clamp_short(r.top),
                                           clamp_ushort(r.width()), clamp_ushort(r.height())});
            }
        }
        XShapeCombineRectangles(display, xwindow, ShapeBounding, 0, 0, rects.data(),
                                static_cast<int>(rects.size()), ShapeSet, Unsorted);
    }
    XFlush(display);
    return true;
}

bool read_window_shape(SDL_Window* window, std::vector<ui::Rect>& out) {
    Display* display = nullptr;
    ::Window xwindow = 0;
    if (!x11_handles(window, display, xwindow)) {
        return false;
    }
    XSync(display, False);
    int count = 0;
    int ordering = 0;
    XRectangle* rects = XShapeGetRectangles(display, xwindow, ShapeBounding, &count, &ordering);
    out.clear();
    for (int i = 0; i < count; ++i) {
        out.push_back(ui::Rect{rects[i].x, rects[i].y, rects[i].x + rects[i].width,
                               rects[i].y + rects[i].height});
    }
    if (rects != nullptr) {
        XFree(rects);
    }
    return true;
}

}  // namespace talvoro::platform::sdl
