// One SDL window behind a CWindowWnd: shown through the window surface (or the system's own
// buffer where that surface falls short), painted rectangles only.
// SDL measures in window units: physical pixels on X11 and Windows, points on Wayland, where
// the output's scale turns a point into several pixels.
#pragma once
#include <SDL2/SDL_video.h>

#include <memory>

#include "core/window.h"
#include "platform/sdl/native_presenter.h"

namespace talvoro::platform::sdl {

class SdlWindowBackend : public ui::IWindowBackend {
  public:
    explicit SdlWindowBackend(ui::CWindowWnd& window) : window_(window) {}
    ~SdlWindowBackend() override { destroy(); }

    bool create(const std::string& title, const ui::Rect& rect, const ui::CWindowWnd* owner,
                bool popup) override;
    void destroy() override;
    void show(bool visible) override;
    void move(const ui::Rect& rect) override;
    void present(const ui::Canvas& canvas, const std::vector<ui::Rect>& rects) override;
    bool set_shape(const std::vector<ui::Rect>& opaque) override;
    ui::Rect work_area() const override;
    bool positions_known() const override { return presenter_ == nullptr; }
    void wake() override;

    SDL_Window* sdl_window() const { return sdl_window_; }
    // A point SDL reports in window units, in the window's logical client pixels.
    ui::Point client_point(int x, int y) const;
    // The display's physical pixels per window unit: 1 but on a scaled Wayland output.
    int units_scale() const { return units_scale_; }
    // Reads the display's scale again (the window reached another output) and tells the window
    // when it changed.
    void refresh_display_scale();
    // How many rectangles reached the screen, for tests of partial updates.
    size_t presented_rects() const { return presented_rects_; }

  private:
    // Physical pixels in window units, rounded up so nothing is cut off.
    int to_units(int physical) const { return (physical + units_scale_ - 1) / units_scale_; }

    ui::CWindowWnd& window_;
    SDL_Window* sdl_window_ = nullptr;
    std::unique_ptr<NativePresenter> presenter_;
    int units_scale_ = 1;
    bool scale_known_ = false;
    uint32_t id_ = 0;
    size_t presented_rects_ = 0;
};

// A point SDL reports for `window` in window units, in its logical client pixels; as it is for a
// window without an SDL backend.
ui::Point client_point(const ui::CWindowWnd& window, int x, int y);
// The display's physical pixels per window unit of `window`: 1 without an SDL backend.
int units_scale(const ui::CWindowWnd& window);

// Makes every window created from now on an SDL window. False when SDL video cannot start, or
// starts only on a fall-back driver nobody asked for (see video_driver_accepted).
bool install_sdl_windows();

}  // namespace talvoro::platform::sdl
