// The surface everything is painted on: RGBA8, straight alpha, source-over blending, with a
// clip stack. Nothing is ever written outside the canvas or the current clip.
// Callers draw in logical pixels; the surface holds physical ones, `scale` times as many, and
// every edge is scaled on its own so shapes that touch keep touching. Text and pictures that
// need the surface's own resolution use the physical calls.
#pragma once

#include <cstdint>
#include <vector>

#include "render/color.h"
#include "render/display_scale.h"
#include "render/image.h"
#include "render/rect.h"

namespace talvoro::ui {

class Canvas {
  public:
    Canvas() = default;
    // An empty canvas when the size is beyond the image limits. The size is logical.
    Canvas(int width, int height, DisplayScale scale = {});

    // Drops the clip stack; false (and an empty canvas) when the size is beyond the limits.
    bool resize(int width, int height, DisplayScale scale = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }
    DisplayScale scale() const { return scale_; }
    // The physical pixels, rows top to bottom, RGBA bytes, for showing and saving.
    const Image& image() const { return surface_; }

    // A physical pixel.
    Color pixel(int x, int y) const { return surface_.pixel(x, y); }

    // The current clip in physical pixels, always inside the surface.
    Rect physical_clip() const;

    // Sets the pixels of the rectangle (within the clip) without blending.
    void clear(const Rect& rect, Color color = {});
    void clear(Color color = {}) { clear(bounds(), color); }
    void fill_rect(const Rect& rect, Color color);
    // A frame `size` pixels thick inside `rect`.
    void draw_border(const Rect& rect, Color color, int size);
    // Both ends included; `thickness` grows the line down and to the right.
    void draw_line(Point from, Point to, Color color, int thickness = 1);
    // Blends `color` over logical pixel (x, y) with its alpha scaled by `coverage` (0..255).
    void blend_pixel(int x, int y, Color color, uint8_t coverage = 255);
    // Draws the `source` part of `image` (in the picture's own pixels) into logical `dest`:
    // copied when the sizes match on the surface, averaged over each target pixel when the
    // picture is larger, interpolated bilinearly when it is smaller. The source is first cut to
    // the picture. `alpha` fades the whole picture.
    void blit(const Image& image, const Rect& source, const Rect& dest, uint8_t alpha = 255);

    // The same on physical pixels, for text and shapes drawn at the surface's resolution.
    void blend_physical(int x, int y, Color color, uint8_t coverage = 255);
    void fill_physical(const Rect& rect, Color color);

  private:
    friend class ClipScope;
    // Sets every physical pixel of the area (already clipped) to the colour, alpha included.
    void store_physical(const Rect& area, Color color);
    void blend_at(uint8_t* pixel, uint8_t r, uint8_t g, uint8_t b, unsigned alpha);
    // Blends a premultiplied sum of samples (colour times alpha, then alpha).
    void blend_premultiplied(uint8_t* pixel, const double sum[4], uint8_t alpha);
    void scale_down(const Image& image, const Rect& from, const Rect& to, const Rect& area,
                    uint8_t alpha);
    void interpolate(const Image& image, const Rect& from, const Rect& to, const Rect& area,
                     uint8_t alpha);

    Image surface_;
    int width_ = 0;
    int height_ = 0;
    DisplayScale scale_;
    std::vector<Rect> clips_;
};

// Narrows the canvas's clip to logical `rect` for the scope's lifetime.
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
