#include "antialias.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace talvoro::skins {
namespace {

// Subsamples per pixel side.
constexpr int kSamples = 4;
constexpr double kPi = 3.14159265358979323846;

Rect bounding_box(double left, double top, double right, double bottom) {
    return Rect{static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
                static_cast<int>(std::ceil(right)), static_cast<int>(std::ceil(bottom))};
}

// Blends `color` over every physical pixel of logical `box` by the share of subsamples
// `inside` accepts; `inside` takes logical coordinates, so shapes stay smooth at every scale.
template <typename Inside>
void fill_shape(Canvas& canvas, const Rect& box, Color color, Inside inside) {
    const double scale = canvas.scale().factor();
    const Rect area = canvas.scale().to_physical(box).intersect(canvas.physical_clip());
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    if (inside((x + (sx + 0.5) / kSamples) / scale,
                               (y + (sy + 0.5) / kSamples) / scale)) {
                        ++hits;
                    }
                }
            }
            if (hits > 0) {
                canvas.blend_physical(x, y, color,
                                      static_cast<uint8_t>(hits * 255 / (kSamples * kSamples)));
            }
        }
    }
}

// A rounded rectangle from `left`, `top` to `right`, `bottom`, in logical pixels.
bool in_round_rect(double left, double top, double right, double bottom, double radius, double x,
                   double y) {
    if (x < left || x >= right || y < top || y >= bottom) {
        return false;
    }
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

bool in_round_rect(const Rect& r, double radius, double x, double y) {
    return in_round_rect(r.left, r.top, r.right, r.bottom, radius, x, y);
}

// The four corner squares of `rect`, `side` pixels each.
std::array<Rect, 4> corner_boxes(const Rect& rect, int side) {
    return {Rect{rect.left, rect.top, rect.left + side, rect.top + side},
            Rect{rect.right - side, rect.top, rect.right, rect.top + side},
            Rect{rect.left, rect.bottom - side, rect.left + side, rect.bottom},
            Rect{rect.right - side, rect.bottom - side, rect.right, rect.bottom}};
}

double distance_to_segment(PointF p, PointF a, PointF b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x;
    const double ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

Rect inset(const Rect& r, int by) {
    return Rect{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

void fill_round_rect(Canvas& canvas, const Rect& rect, double radius, Color color) {
    radius = std::min(radius, std::min(rect.width(), rect.height()) / 2.0);
    // Only the corners need subsamples: the bands between them are fully covered.
    const int corner =
        std::min(static_cast<int>(std::ceil(radius)), std::min(rect.width(), rect.height()) / 2);
    canvas.fill_rect(Rect{rect.left + corner, rect.top, rect.right - corner, rect.bottom}, color);
    canvas.fill_rect(Rect{rect.left, rect.top + corner, rect.left + corner, rect.bottom - corner},
                     color);
    canvas.fill_rect(Rect{rect.right - corner, rect.top + corner, rect.right, rect.bottom - corner},
                     color);
    auto inside = [&](double x, double y) { return in_round_rect(rect, radius, x, y); };
    for (const Rect& box : corner_boxes(rect, corner)) {
        fill_shape(canvas, box, color, inside);
    }
}

void stroke_round_rect(Canvas& canvas, const Rect& rect, double radius, Color color) {
    radius = std::min(radius, std::min(rect.width(), rect.height()) / 2.0);
    const int corner =
        std::min(static_cast<int>(std::ceil(radius)), std::min(rect.width(), rect.height()) / 2);
    // The outline is one physical pixel at every scale: the edges, then the corners.
    const ui::DisplayScale scale = canvas.scale();
    const Rect outer = scale.to_physical(rect);
    const int left = scale.to_physical(rect.left + corner);
    const int right = scale.to_physical(rect.right - corner);
    const int top = scale.to_physical(rect.top + corner);
    const int bottom = scale.to_physical(rect.bottom - corner);
    canvas.fill_physical(Rect{left, outer.top, right, outer.top + 1}, color);
    canvas.fill_physical(Rect{left, outer.bottom - 1, right, outer.bottom}, color);
    canvas.fill_physical(Rect{outer.left, top, outer.left + 1, bottom}, color);
    canvas.fill_physical(Rect{outer.right - 1, top, outer.right, bottom}, color);
    const double line = 1.0 / scale.factor();
    const double inner_radius = std::max(0.0, radius - line);
    auto inside = [&](double x, double y) {
        return in_round_rect(rect, radius, x, y) &&
               !in_round_rect(rect.left + line, rect.top + line, rect.right - line,
                              rect.bottom - line, inner_radius, x, y);
    };
    for (const Rect& box : corner_boxes(rect, corner)) {
        fill_shape(canvas, box, color, inside);
    }
}

void fill_circle(Canvas& canvas, double cx, double cy, double radius, Color color) {
    fill_shape(canvas, bounding_box(cx - radius, cy - radius, cx + radius, cy + radius), color,
               [&](double x, double y) {
                   return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
               });
}

void stroke_circle(Canvas& canvas, double cx, double cy, double radius, double width, Color color) {
    stroke_arc(canvas, cx, cy, radius, width, 0, 360, color);
}

void stroke_arc(Canvas& canvas, double cx, double cy, double radius, double width, double from,
                double to, Color color) {
    const double outer = radius + width / 2;
    const double inner = radius - width / 2;
    const bool full = to - from >= 360;
    fill_shape(canvas, bounding_box(cx - outer, cy - outer, cx + outer, cy + outer), color,
               [&](double x, double y) {
                   const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                   if (d2 > outer * outer || d2 < inner * inner) {
                       return false;
                   }
                   if (full) {
                       return true;
                   }
                   double angle = std::atan2(y - cy, x - cx) * 180 / kPi;
                   while (angle < from) {
                       angle += 360;
                   }
                   return angle <= to;
               });
}

void draw_segment(Canvas& canvas, PointF a, PointF b, double width, Color color) {
    const double r = width / 2;
    fill_shape(canvas,
               bounding_box(std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
                            std::max(a.y, b.y) + r),
               color, [&](double x, double y) {
                   return distance_to_segment({x, y}, a, b) <= r;
               });
}

void fill_polygon(Canvas& canvas, const std::vector<PointF>& points, Color color) {
    if (points.size() < 3) {
        return;
    }
    double left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (const PointF& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    fill_shape(canvas, bounding_box(left, top, right, bottom), color, [&](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const PointF& a = points[i];
            const PointF& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
                inside = !inside;
            }
        }
        return inside;
    });
}

}  // namespace talvoro::skins
