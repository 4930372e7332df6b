#include "skin_shapes.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "render/text_renderer.h"
#include "skin_palette.h"

namespace talvoro::skins {
namespace {

// Subsamples per pixel side for antialiased edges.
constexpr int kSamples = 4;

// The mouse's axis of symmetry runs through the centre of pixel column 503, so column x
// mirrors column 1006 - x.
constexpr double kMouseAxis = 503.5;
constexpr double kMouseWidestY = 360.0;
constexpr double kMouseHalfWidth = 131.0;
constexpr double kMouseFrontLength = 105.0;
constexpr double kMouseBackLength = 185.0;
// The palm narrows toward the wrist by this share of the widest half-width.
constexpr double kMouseTaper = 0.18;
// Superellipse exponent: fuller shoulders than an ellipse, so the front holds the buttons.
constexpr double kMouseRoundness = 2.5;

Color scaled(Color color, double factor) {
    auto channel = [factor](uint8_t v) {
        return static_cast<uint8_t>(std::clamp(std::lround(v * factor), 0L, 255L));
    };
    return Color{color.a, channel(color.r), channel(color.g), channel(color.b)};
}

Color mixed(Color from, Color to, double t) {
    auto channel = [t](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>(std::lround(a + (b - a) * t));
    };
    return Color{255, channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)};
}

uint8_t coverage_byte(int inside) {
    return static_cast<uint8_t>(inside * 255 / (kSamples * kSamples));
}

// Blends `color` over every pixel of `box` by the share of subsamples `inside` accepts.
template <typename Inside>
void fill_shape(Canvas& canvas, const Rect& box, Color color, Inside inside) {
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples))
                        ++hits;
                }
            }
            if (hits > 0)
                canvas.blend_pixel(x, y, color, coverage_byte(hits));
        }
    }
}

double mouse_half_width(double y) {
    const double length = y < kMouseWidestY ? kMouseFrontLength : kMouseBackLength;
    const double t = std::abs(y - kMouseWidestY) / length;
    if (t >= 1.0)
        return 0.0;
    const double taper = y < kMouseWidestY ? 1.0 : 1.0 - kMouseTaper * t;
    return kMouseHalfWidth * taper *
           std::pow(1.0 - std::pow(t, kMouseRoundness), 1.0 / kMouseRoundness);
}

bool in_round_rect(const Rect& r, int radius, double x, double y) {
    if (x < r.left || x >= r.right || y < r.top || y >= r.bottom)
        return false;
    const double cx =
        std::clamp(x, r.left + static_cast<double>(radius), r.right - static_cast<double>(radius));
    const double cy =
        std::clamp(y, r.top + static_cast<double>(radius), r.bottom - static_cast<double>(radius));
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= double(radius) * radius;
}

Rect inset(const Rect& r, int by) {
    return Rect{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// A smooth curve across the mouse separating the clicks from the palm, in pixel-centre
// coordinates, drawn with two-pixel vertical antialiasing.
void draw_curve(Canvas& canvas, double half_span, double apex_y, double rise, Color color) {
    const int from = static_cast<int>(std::floor(kMouseAxis - half_span)) - 1;
    const int to = static_cast<int>(std::ceil(kMouseAxis + half_span)) + 1;
    for (int x = from; x < to; ++x) {
        const double u = (x + 0.5 - kMouseAxis) / half_span;
        if (std::abs(u) > 1.0)
            continue;
        const double y = apex_y - rise * u * u;
        const int row = static_cast<int>(std::floor(y));
        const double frac = y - row;
        canvas.blend_pixel(x, row, color, static_cast<uint8_t>(std::lround(255 * (1 - frac))));
        canvas.blend_pixel(x, row + 1, color, static_cast<uint8_t>(std::lround(255 * frac)));
    }
}

}  // namespace

bool window_shape_contains(int x, int y) {
    if (x < 0 || y < 0 || x >= kWindowWidth || y >= kWindowHeight)
        return false;
    const int dx = std::min(x, kWindowWidth - 1 - x);
    const int dy = std::min(y, kWindowHeight - 1 - y);
    return dx + dy >= kWindowChamfer;
}

void fill_window_background(Canvas& canvas, const Rect& rect) {
    const double cx = (rect.left + rect.right) / 2.0;
    const double cy = (rect.top + rect.bottom) / 2.0;
    const double rx = std::max(1.0, rect.width() / 2.0);
    const double ry = std::max(1.0, rect.height() / 2.0);
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const double u = (x + 0.5 - cx) / rx;
            const double v = (y + 0.5 - cy) / ry;
            // Darkens only toward the edges, so the centre keeps the exact window colour.
            const double d = std::min(1.0, (u * u + v * v) / 2.0);
            canvas.clear(Rect{x, y, x + 1, y + 1},
                         scaled(kWindowColor, 1.0 - kVignetteStrength / 255.0 * d * d));
        }
    }
}

void draw_panel(Canvas& canvas, const Rect& rect) {
    canvas.fill_rect(rect, kPanelColor);
    canvas.draw_border(rect, kPanelBorderColor, 1);
}

void fill_round_rect(Canvas& canvas, const Rect& rect, int radius, Color color) {
    fill_shape(canvas, rect, color,
               [&](double x, double y) { return in_round_rect(rect, radius, x, y); });
}

void fill_circle(Canvas& canvas, double cx, double cy, double radius, Color color) {
    const Rect box{
        static_cast<int>(std::floor(cx - radius)), static_cast<int>(std::floor(cy - radius)),
        static_cast<int>(std::ceil(cx + radius)), static_cast<int>(std::ceil(cy + radius))};
    fill_shape(canvas, box, color, [&](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    });
}

void stroke_circle(Canvas& canvas, double cx, double cy, double radius, double width, Color color) {
    const double outer = radius + width / 2;
    const double inner = radius - width / 2;
    const Rect box{
        static_cast<int>(std::floor(cx - outer)), static_cast<int>(std::floor(cy - outer)),
        static_cast<int>(std::ceil(cx + outer)), static_cast<int>(std::ceil(cy + outer))};
    fill_shape(canvas, box, color, [&](double x, double y) {
        const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d2 <= outer * outer && d2 >= inner * inner;
    });
}

void draw_tab_underline(Canvas& canvas, int left, int right, int baseline) {
    canvas.fill_rect(Rect{left, baseline, right, baseline + 2}, kAccentColor);
}

void draw_button(Canvas& canvas, const Rect& rect, std::string_view caption,
                 const ui::FontStyle& font, bool lit) {
    fill_round_rect(canvas, rect, 3, lit ? kAccentDarkColor : kPanelBorderColor);
    fill_round_rect(canvas, inset(rect, 1), 2, lit ? kAccentDarkColor : kPanelColor);
    const int dot = rect.height() / 4;
    const double dot_x = rect.left + rect.height() / 2.0 + 2;
    const double dot_y = (rect.top + rect.bottom) / 2.0;
    fill_circle(canvas, dot_x, dot_y, dot, kAccentColor);
    if (lit)
        stroke_circle(canvas, dot_x, dot_y, dot + 3, 1.5, kAccentColor);
    const Rect text{static_cast<int>(dot_x) + dot + 4, rect.top, rect.right - 4, rect.bottom};
    ui::draw_text(canvas, text, caption, font, lit ? kAccentColor : kTextColor,
                  ui::kTextCenter | ui::kTextVCenter | ui::kTextSingleLine);
}

void draw_popup_frame(Canvas& canvas, std::string_view product, const ui::FontStyle& font,
                      int caption_height) {
    const Rect all = canvas.bounds();
    fill_window_background(canvas, all);
    canvas.fill_rect(Rect{1, 1, all.right - 1, caption_height}, kPanelColor);
    canvas.fill_rect(Rect{1, caption_height, all.right - 1, caption_height + 1}, kPanelBorderColor);
    ui::FontStyle title = font;
    title.family = "Verdana";  // the product name is Latin in every language
    title.bold = true;
    const ui::Size size = ui::measure_text(product, title);
    const Rect title_rect{14, 0, 14 + size.width + 2, caption_height};
    ui::draw_text(canvas, title_rect, product, title, kTextColor,
                  ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    draw_tab_underline(canvas, 14, 14 + size.width, caption_height - 4);
    canvas.draw_border(all, kAccentColor, 1);
}

void draw_badge(Canvas& canvas, double cx, double cy, double radius, char sign) {
    fill_circle(canvas, cx, cy, radius, kAccentDarkColor);
    stroke_circle(canvas, cx, cy, radius - 1, 2, kAccentColor);
    const int r = static_cast<int>(radius);
    const Rect box{static_cast<int>(cx) - r, static_cast<int>(cy) - r, static_cast<int>(cx) + r,
                   static_cast<int>(cy) + r};
    ui::FontStyle font{"Verdana", static_cast<int>(radius * 1.2), true};
    ui::draw_text(canvas, box, std::string(1, sign), font, kTextColor,
                  ui::kTextCenter | ui::kTextVCenter | ui::kTextSingleLine);
}

void draw_mouse_shell(Canvas& canvas) {
    const int top = static_cast<int>(kMouseWidestY - kMouseFrontLength) - 1;
    const int bottom = static_cast<int>(kMouseWidestY + kMouseBackLength) + 1;
    for (int y = top; y < bottom; ++y) {
        for (int x = static_cast<int>(kMouseAxis - kMouseHalfWidth) - 1;
             x < static_cast<int>(kMouseAxis + kMouseHalfWidth) + 2; ++x) {
            int hits = 0;
            int edge_hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                const double w = mouse_half_width(y + (sy + 0.5) / kSamples);
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double off = std::abs(x + (sx + 0.5) / kSamples - kMouseAxis);
                    if (off <= w)
                        ++hits;
                    if (off <= w - 2.0)
                        ++edge_hits;
                }
            }
            if (hits == 0)
                continue;
            // The rim, then the top surface, lighter along the spine as if lit from above.
            canvas.blend_pixel(x, y, kShellEdgeColor, coverage_byte(hits));
            if (edge_hits == 0)
                continue;
            const double spine = 1.0 - std::abs(x + 0.5 - kMouseAxis) / kMouseHalfWidth;
            canvas.blend_pixel(x, y, mixed(kShellColor, kShellEdgeColor, 0.35 * spine * spine),
                               coverage_byte(edge_hits));
        }
    }
    // The split between the two clicks and the line from the clicks to the palm.
    canvas.fill_rect(Rect{502, top + 3, 505, 286}, kSeamColor);
    draw_curve(canvas, 118.0, 324.0, 26.0, kSeamColor);
    // A small chevron on the palm, in the rim colour so only the buttons catch the eye.
    for (int i = 0; i < 3; ++i) {
        const int y = 440 + i * 2;
        canvas.blend_pixel(503, y, kShellEdgeColor);
        for (int d = 1; d < 18; ++d) {
            canvas.blend_pixel(503 - d, y + d / 2, kShellEdgeColor);
            canvas.blend_pixel(503 + d, y + d / 2, kShellEdgeColor);
        }
    }
}

void draw_mouse_button(Canvas& canvas, size_t index, ButtonLook look) {
    if (index >= kMouseButtonRects.size())
        return;
    const Rect rect = kMouseButtonRects[index];
    ui::ClipScope clip(canvas, rect);
    const bool lit = look == ButtonLook::kLit;
    const Color edge = lit ? scaled(kAccentColor, 1.15) : kMouseButtonEdgeColor;
    const Color face = lit ? kAccentColor : kMouseButtonColor;
    const int radius = std::min(rect.width(), rect.height()) >= 20 ? 5 : 3;
    fill_round_rect(canvas, inset(rect, 1), radius, edge);
    fill_round_rect(canvas, inset(rect, 2), radius - 1, face);
    if (index == 2) {
        // The wheel: ribs across its tread.
        const Color rib = lit ? scaled(kAccentColor, 0.7) : kShellEdgeColor;
        for (int y = rect.top + 5; y < rect.bottom - 4; y += 3) {
            canvas.fill_rect(Rect{rect.left + 6, y, rect.right - 6, y + 1}, rib);
        }
    }
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
