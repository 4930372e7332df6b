// The surface everything is painted on: RGBA8, straight alpha, source-over blending, with a
// clip stack. Nothing is ever written outside the canvas or the current clip.
#pragma once

#include <cstdint>
#include <vector>

#include "render/color.h"
#include "render/image.h"
#include "render/rect.h"

namespace talvoro::ui {

class Canvas {
  public:
    Canvas() = default;
    // An empty canvas when the size is beyond the image limits.
    Canvas(int width, int height);

    // Drops the clip stack; false (and an empty canvas) when the size is beyond the limits.
    bool resize(int width, int height);

    int width() const { return surface_.width(); }
    int height() const { return surface_.height(); }
    Rect bounds() const { return surface_.bounds(); }
    // The pixels, rows top to bottom, RGBA bytes, for showing and saving.
    const Image& image() const { return surface_; }

    Color pixel(int x, int y) const { return surface_.pixel(x, y); }

    // The current clip, always inside the canvas.
    Rect clip() const;

    // Sets the pixels of the rectangle (within the clip) without blending.
    void clear(const Rect& rect, Color color = {});
    void clear(Color color = {}) { clear(bounds(), color); }
    void fill_rect(const Rect& rect, Color color);
    // A frame `size` pixels thick inside `rect`.
    void draw_border(const Rect& rect, Color color, int size);
    // Both ends included; `thickness` grows the line down and to the right.
    void draw_line(Point from, Point to, Color color, int thickness = 1);
    // Blends `color` at (x, y) with its alpha scaled by `coverage` (0..255).
    void blend_pixel(int x, int y, Color color, uint8_t coverage = 255);
    // Draws the `source` part of `image` into `dest`, scaled bilinearly when the sizes differ.
    // The source is first cut to the picture. `alpha` fades the whole picture.
    void blit(const Image& image, const Rect& source, const Rect& dest, uint8_t alpha = 255);

  private:
    friend class ClipScope;
    void blend_at(uint8_t* pixel, uint8_t r, uint8_t g, uint8_t b, unsigned alpha);

    Image surface_;
    std::vector<Rect> clips_;
};

// Narrows the canvas's clip to `rect` for the scope's lifetime.
class ClipScope {
  public:
    ClipScope(Canvas& canvas, const Rect& rect);
    ~ClipScope();
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

  private:
    Canvas& canvas_;
};

}  // namespace talvoro::ui
