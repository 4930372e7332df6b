#include "skin_icons.h"

#include <cmath>
#include <vector>

#include "skin_palette.h"

namespace talvoro::skins {
namespace {

constexpr double kPi = 3.14159265358979323846;

void polyline(Canvas& canvas, const std::vector<PointF>& points, double width, Color color) {
    for (size_t i = 1; i < points.size(); ++i) {
        draw_segment(canvas, points[i - 1], points[i], width, color);
    }
}

// An arrow along the segment, its head at `to`.
void arrow(Canvas& canvas, PointF from, PointF to, double head, double width, Color color) {
    draw_segment(canvas, from, to, width, color);
    const double angle = std::atan2(to.y - from.y, to.x - from.x);
    for (double side : {-1.0, 1.0}) {
        const double a = angle + kPi - side * kPi / 4;
        draw_segment(canvas, to, {to.x + head * std::cos(a), to.y + head * std::sin(a)}, width,
                     color);
    }
}

}  // namespace

void draw_icon(Canvas& canvas, Icon icon, double cx, double cy, double size, Color color) {
    const double s = size;
    const double w = std::max(1.3, s / 8);  // stroke width
    auto at = [&](double dx, double dy) { return PointF{cx + dx * s, cy + dy * s}; };
    switch (icon) {
        case Icon::kNone:
            break;
        case Icon::kClose:
            draw_segment(canvas, at(-0.32, -0.32), at(0.32, 0.32), w, color);
            draw_segment(canvas, at(-0.32, 0.32), at(0.32, -0.32), w, color);
            break;
        case Icon::kGlobe: {
            stroke_circle(canvas, cx, cy, 0.46 * s, w, color);
            std::vector<PointF> meridian;
            for (int i = 0; i <= 24; ++i) {
                const double t = 2 * kPi * i / 24;
                meridian.push_back(at(0.2 * std::cos(t), 0.46 * std::sin(t)));
            }
            polyline(canvas, meridian, w * 0.8, color);
            draw_segment(canvas, at(-0.46, 0), at(0.46, 0), w * 0.8, color);
            draw_segment(canvas, at(-0.38, -0.24), at(0.38, -0.24), w * 0.7, color);
            draw_segment(canvas, at(-0.38, 0.24), at(0.38, 0.24), w * 0.7, color);
            break;
        }
        case Icon::kReset: {
            stroke_arc(canvas, cx, cy, 0.38 * s, w, -60, 200, color);
            // The head at the arc's start, pointing along the turn.
            const double a = -60 * kPi / 180;
            const PointF tip = at(0.38 * std::cos(a), 0.38 * std::sin(a));
            fill_polygon(canvas,
                         {{tip.x + 0.24 * s, tip.y - 0.02 * s},
                          {tip.x - 0.14 * s, tip.y - 0.2 * s},
                          {tip.x - 0.04 * s, tip.y + 0.18 * s}},
                         color);
            break;
        }
        case Icon::kPower:
            stroke_arc(canvas, cx, cy + 0.04 * s, 0.38 * s, w, -50, 230, color);
            draw_segment(canvas, at(0, -0.48), at(0, -0.04), w, color);
            break;
        case Icon::kPlus:
            draw_segment(canvas, at(-0.36, 0), at(0.36, 0), w, color);
            draw_segment(canvas, at(0, -0.36), at(0, 0.36), w, color);
            break;
        case Icon::kMinus:
            draw_segment(canvas, at(-0.36, 0), at(0.36, 0), w, color);
            break;
        case Icon::kPencil:
            draw_segment(canvas, at(-0.2, 0.2), at(0.3, -0.3), w * 1.7, color);
            fill_polygon(canvas, {at(-0.42, 0.42), at(-0.34, 0.1), at(-0.1, 0.34)}, color);
            break;
        case Icon::kTrash:
            draw_segment(canvas, at(-0.42, -0.3), at(0.42, -0.3), w, color);
            draw_segment(canvas, at(-0.12, -0.44), at(0.12, -0.44), w, color);
            polyline(canvas, {at(-0.3, -0.2), at(-0.24, 0.46), at(0.24, 0.46), at(0.3, -0.2)}, w,
                     color);
            draw_segment(canvas, at(0, -0.1), at(0, 0.32), w * 0.8, color);
            break;
        case Icon::kImport:
        case Icon::kExport:
            polyline(canvas, {at(-0.44, 0.12), at(-0.44, 0.44), at(0.44, 0.44), at(0.44, 0.12)}, w,
                     color);
            if (icon == Icon::kImport) {
                arrow(canvas, at(0, -0.48), at(0, 0.18), 0.26 * s, w, color);
            } else {
                arrow(canvas, at(0, 0.2), at(0, -0.46), 0.26 * s, w, color);
            }
            break;
        case Icon::kRecord:
            fill_circle(canvas, cx, cy, 0.36 * s, color);
            break;
        case Icon::kStop:
            fill_round_rect(canvas,
                            Rect{static_cast<int>(std::lround(cx - 0.32 * s)),
                                 static_cast<int>(std::lround(cy - 0.32 * s)),
                                 static_cast<int>(std::lround(cx + 0.32 * s)),
                                 static_cast<int>(std::lround(cy + 0.32 * s))},
                            1.5, color);
            break;
        case Icon::kMouse: {
            const Rect body{static_cast<int>(std::lround(cx - 0.3 * s)),
                            static_cast<int>(std::lround(cy - 0.46 * s)),
                            static_cast<int>(std::lround(cx + 0.3 * s)),
                            static_cast<int>(std::lround(cy + 0.46 * s))};
            stroke_round_rect(canvas, body, 0.3 * s, color);
            draw_segment(canvas, at(0, -0.42), at(0, -0.14), w * 0.9, color);
            break;
        }
        case Icon::kClock:
            stroke_circle(canvas, cx, cy, 0.44 * s, w, color);
            polyline(canvas, {at(0, -0.28), at(0, 0), at(0.22, 0.1)}, w * 0.9, color);
            break;
        case Icon::kDownload:
            arrow(canvas, at(0, -0.46), at(0, 0.2), 0.26 * s, w, color);
            draw_segment(canvas, at(-0.4, 0.44), at(0.4, 0.44), w, color);
            break;
        case Icon::kLink:
            polyline(canvas,
                     {at(-0.02, -0.4), at(-0.4, -0.4), at(-0.4, 0.4), at(0.4, 0.4), at(0.4, 0.02)},
                     w * 0.9, color);
            arrow(canvas, at(-0.06, 0.06), at(0.44, -0.44), 0.24 * s, w, color);
            break;
        case Icon::kCheck:
            polyline(canvas, {at(-0.34, 0.0), at(-0.1, 0.26), at(0.36, -0.28)}, w * 1.1, color);
            break;
    }
}

void draw_brand_mark(Canvas& canvas, double left, double mid, double height) {
    // Drawn on a grid of 18 units to the height.
    const double unit = height / 18;
    auto chevron = [&](double from, double thickness, Color color) {
        auto at = [&](double x, double y) { return PointF{left + x * unit, mid + y * unit}; };
        fill_polygon(canvas,
                     {at(from, -9), at(from + thickness, -9), at(from + thickness + 8, 0),
                      at(from + thickness, 9), at(from, 9), at(from + 8, 0)},
                     color);
    };
    chevron(0, 7, kAccentColor);
    chevron(9, 4, Color{150, kAccentColor.r, kAccentColor.g, kAccentColor.b});
}

void draw_step_icon(Canvas& canvas, StepIcon icon) {
    canvas.clear(kFieldColor);
    switch (icon) {
        case StepIcon::kTimer:
            stroke_circle(canvas, 7, 7, 5.5, 1.4, kTextColor);
            canvas.fill_rect(Rect{7, 3, 8, 8}, kTextColor);
            canvas.fill_rect(Rect{7, 7, 10, 8}, kAccentColor);
            break;
        case StepIcon::kKeyDown:
        case StepIcon::kKeyUp: {
            const bool down = icon == StepIcon::kKeyDown;
            canvas.fill_rect(Rect{6, down ? 2 : 5, 8, down ? 9 : 12}, kTextColor);
            for (int i = 0; i < 5; ++i) {
                const int y = down ? 12 - i : 1 + i;
                canvas.fill_rect(Rect{2 + i, y, 12 - i, y + 1}, down ? kAccentColor : kTextColor);
            }
            break;
        }
        case StepIcon::kMouse:
            fill_round_rect(canvas, Rect{3, 1, 11, 13}, 4, kTextColor);
            fill_round_rect(canvas, Rect{4, 2, 10, 12}, 3, kFieldColor);
            canvas.fill_rect(Rect{4, 5, 10, 6}, kTextColor);
            canvas.fill_rect(Rect{7, 2, 8, 5}, kAccentColor);
            break;
    }
}

}  // namespace talvoro::skins
