#include "support/linux/screen_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace talvoro::test {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

// The share of one colour channel in a pixel value, scaled to eight bits.
uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const unsigned long top = mask >> shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255u / top);
}

}  // namespace

std::optional<ui::Image> capture_screen(const std::string& display_name, const ui::Rect& area) {
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(display_name.c_str()));
    if (!display || area.width() <= 0 || area.height() <= 0) {
        return std::nullopt;
    }
    const Window root = DefaultRootWindow(display.get());
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display.get(), root, &attributes) == 0 || area.left < 0 ||
        area.top < 0 || area.right > attributes.width || area.bottom > attributes.height) {
        return std::nullopt;
    }
    const std::unique_ptr<XImage, ImageDestroyer> shot(
        XGetImage(display.get(), root, area.left, area.top, static_cast<unsigned>(area.width()),
                  static_cast<unsigned>(area.height()), AllPlanes, ZPixmap));
    if (!shot) {
        return std::nullopt;
    }
    std::optional<ui::Image> image = ui::Image::create(area.width(), area.height());
    if (!image) {
        return std::nullopt;
    }
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            const unsigned long pixel = XGetPixel(shot.get(), x, y);
            image->set_pixel(
                x, y,
                ui::Color{0xFF, channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                          channel(pixel, shot->blue_mask)});
        }
    }
    return image;
}

}  // namespace talvoro::test
