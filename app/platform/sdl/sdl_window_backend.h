// One SDL window behind a CWindowWnd: shown through the window surface, painted rectangles only.
#pragma once
#include <SDL2/SDL_video.h>

#include "core/window.h"

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
    void wake() override;

    SDL_Window* sdl_window() const { return sdl_window_; }
    // How many rectangles reached the screen, for tests of partial updates.
    size_t presented_rects() const { return presented_rects_; }

  private:
    ui::CWindowWnd& window_;
    SDL_Window* sdl_window_ = nullptr;
    uint32_t id_ = 0;
    size_t presented_rects_ = 0;
};

// Makes every window created from now on an SDL window. False when SDL video cannot start, or
// starts only on a fall-back driver nobody asked for (see video_driver_accepted).
bool install_sdl_windows();

}  // namespace talvoro::platform::sdl
