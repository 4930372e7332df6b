// Antialiased shapes for the skin pictures: each pixel takes the share of its subsamples that
// fall inside the shape, so edges stay smooth at the small sizes of the controls.
#pragma once

#include <vector>

#include "render/canvas.h"
#include "render/rect.h"

namespace talvoro::skins {

using ui::Canvas;
using ui::Color;
using ui::Rect;

struct PointF {
    double x = 0;
    double y = 0;
};

Rect inset(const Rect& r, int by);

void fill_round_rect(Canvas& canvas, const Rect& rect, double radius, Color color);
// A 1 px outline along the inside of the rounded rectangle.
void stroke_round_rect(Canvas& canvas, const Rect& rect, double radius, Color color);
void fill_circle(Canvas& canvas, double cx, double cy, double radius, Color color);
void stroke_circle(Canvas& canvas, double cx, double cy, double radius, double width, Color color);
// A ring of `width` from angle `from` to `to` (degrees, 0 pointing right, clockwise on screen).
void stroke_arc(Canvas& canvas, double cx, double cy, double radius, double width, double from,
                double to, Color color);
// A segment with round ends.
void draw_segment(Canvas& canvas, PointF a, PointF b, double width, Color color);
// A closed polygon, filled by the even-odd rule.
void fill_polygon(Canvas& canvas, const std::vector<PointF>& points, Color color);

}  // namespace talvoro::skins
