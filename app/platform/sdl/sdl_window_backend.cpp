#include "platform/sdl/sdl_window_backend.h"

#include <SDL2/SDL.h>

#include "platform/first_frame_report.h"
#include "platform/sdl/caption_hit_test.h"
#include "platform/sdl/display_scale_watch.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/window_registry.h"
#include "platform/sdl/window_shape.h"

namespace talvoro::platform::sdl {

bool SdlWindowBackend::create(const std::string& title, const ui::Rect& rect,
                              const ui::CWindowWnd* owner, bool popup) {
    if (sdl_window_ != nullptr || !ensure_sdl_video()) {
        return false;
    }
    // The toolkit draws its own frame; popups stay off the task bar. High DPI: on Wayland the
    // window's buffer is then the output's pixels, not points the compositor blows up.
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI;
    if (popup) {
        flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
    }
    sdl_window_ = SDL_CreateWindow(title.c_str(), rect.left, rect.top, std::max(1, rect.width()),
                                   std::max(1, rect.height()), flags);
    if (sdl_window_ == nullptr) {
        return false;
    }
    id_ = SDL_GetWindowID(sdl_window_);
    presenter_ = make_native_presenter(sdl_window_);
    refresh_display_scale();
    watch_display_scale(sdl_window_, window_);
    register_window(id_, &window_);
    install_caption_hit_test(sdl_window_, window_);
    if (owner != nullptr) {
        if (auto* owner_backend = dynamic_cast<SdlWindowBackend*>(owner->backend());
            owner_backend != nullptr && owner_backend->sdl_window_ != nullptr) {
            // Keeps the popup above its owner where the driver supports it.
            SDL_SetWindowModalFor(sdl_window_, owner_backend->sdl_window_);
        }
    }
    return true;
}

void SdlWindowBackend::refresh_display_scale() {
    int units_width = 0;
    int units_height = 0;
    int pixels_width = 0;
    int pixels_height = 0;
    SDL_GetWindowSize(sdl_window_, &units_width, &units_height);
    SDL_GetWindowSizeInPixels(sdl_window_, &pixels_width, &pixels_height);
    if (units_width <= 0 || pixels_width <= 0) {
        return;
    }
    // Wayland scales outputs by whole numbers; elsewhere a unit is a pixel.
    const int scale = std::max(1, (pixels_width + units_width / 2) / units_width);
    const bool first = !scale_known_;
    scale_known_ = true;
    // X11 and Windows say nothing of a scale here (Xft.dpi and the per-monitor DPI are read
    // elsewhere); a Wayland output always does.
    if (scale == units_scale_ && (!first || presenter_ == nullptr)) {
        return;
    }
    units_scale_ = scale;
    window_.platform_scale(static_cast<double>(scale));
    const ui::Rect& rect = window_.rect();
    SDL_SetWindowSize(sdl_window_, std::max(1, to_units(rect.width())),
                      std::max(1, to_units(rect.height())));
}

ui::Point SdlWindowBackend::client_point(int x, int y) const {
    return window_.scale().to_logical(ui::Point{x * units_scale_, y * units_scale_});
}

void SdlWindowBackend::destroy() {
    if (sdl_window_ == nullptr) {
        return;
    }
    presenter_.reset();
    stop_watching_display_scale(sdl_window_);
    unregister_window(id_);
    SDL_DestroyWindow(sdl_window_);
    sdl_window_ = nullptr;
    id_ = 0;
}

void SdlWindowBackend::show(bool visible) {
    if (sdl_window_ == nullptr) {
        return;
    }
    if (visible) {
        SDL_ShowWindow(sdl_window_);
    } else {
        SDL_HideWindow(sdl_window_);
    }
}

void SdlWindowBackend::move(const ui::Rect& rect) {
    if (sdl_window_ == nullptr) {
        return;
    }
    SDL_SetWindowPosition(sdl_window_, rect.left / units_scale_, rect.top / units_scale_);
    SDL_SetWindowSize(sdl_window_, std::max(1, to_units(rect.width())),
                      std::max(1, to_units(rect.height())));
}

void SdlWindowBackend::present(const ui::Canvas& canvas, const std::vector<ui::Rect>& rects) {
    if (sdl_window_ == nullptr || rects.empty()) {
        return;
    }
    if (presenter_ != nullptr) {
        if (presenter_->present(canvas.image(), rects, units_scale_)) {
            presented_rects_ += rects.size();
            report_first_frame();
        }
        return;
    }
    // Fetched each time: SDL replaces the surface when the window is resized.
    SDL_Surface* surface = SDL_GetWindowSurface(sdl_window_);
    if (surface == nullptr) {
        return;
    }
    const ui::Rect limit =
        canvas.image().bounds().intersect(ui::Rect{0, 0, surface->w, surface->h});
    std::vector<SDL_Rect> updated;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        return;
    }
    const ui::Image& image = canvas.image();
    for (const ui::Rect& wanted : rects) {
        const ui::Rect r = wanted.intersect(limit);
        if (r.empty()) {
            continue;
        }
        const uint8_t* source = image.data() + static_cast<size_t>(r.top) * image.stride() +
                                static_cast<size_t>(r.left) * 4;
        auto* dest = static_cast<uint8_t*>(surface->pixels) +
                     static_cast<size_t>(r.top) * static_cast<size_t>(surface->pitch) +
                     static_cast<size_t>(r.left) * surface->format->BytesPerPixel;
        SDL_ConvertPixels(r.width(), r.height(), SDL_PIXELFORMAT_RGBA32, source,
                          static_cast<int>(image.stride()), surface->format->format, dest,
                          surface->pitch);
        updated.push_back(SDL_Rect{r.left, r.top, r.width(), r.height()});
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    if (!updated.empty()) {
        SDL_UpdateWindowSurfaceRects(sdl_window_, updated.data(), static_cast<int>(updated.size()));
        presented_rects_ += updated.size();
        report_first_frame();
    }
}

bool SdlWindowBackend::set_shape(const std::vector<ui::Rect>& opaque) {
    if (presenter_ != nullptr) {
        presenter_->set_shape(opaque);
        return true;
    }
    return apply_window_shape(sdl_window_, opaque);
}

ui::Rect SdlWindowBackend::work_area() const {
    int display = -1;
    if (sdl_window_ != nullptr) {
        display = SDL_GetWindowDisplayIndex(sdl_window_);
    } else {
        const ui::Rect& at = window_.rect();
        const SDL_Rect r{at.left, at.top, std::max(1, at.width()), std::max(1, at.height())};
        display = SDL_GetRectDisplayIndex(&r);
    }
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(std::max(0, display), &usable) != 0) {
        return window_.rect();
    }
    const int k = units_scale_;
    return ui::Rect{usable.x * k, usable.y * k, (usable.x + usable.w) * k,
                    (usable.y + usable.h) * k};
}

void SdlWindowBackend::wake() {
    push_wake_event();
}

ui::Point client_point(const ui::CWindowWnd& window, int x, int y) {
    const auto* backend = dynamic_cast<const SdlWindowBackend*>(window.backend());
    return backend != nullptr ? backend->client_point(x, y) : ui::Point{x, y};
}

int units_scale(const ui::CWindowWnd& window) {
    const auto* backend = dynamic_cast<const SdlWindowBackend*>(window.backend());
    return backend != nullptr ? backend->units_scale() : 1;
}

bool install_sdl_windows() {
    // With no display SDL settles on its offscreen driver: windows there reach no one, and a
    // program waiting for its user would wait forever.
    if (!ensure_sdl_video() || !video_driver_accepted()) {
        return false;
    }
    ui::set_window_backend_factory(
        [](ui::CWindowWnd& window) { return std::make_unique<SdlWindowBackend>(window); });
    return true;
}

}  // namespace talvoro::platform::sdl
