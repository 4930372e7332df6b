#include "mouse_picture.h"

#include <algorithm>
#include <cmath>

#include "antialias.h"
#include "skin_palette.h"

namespace talvoro::skins {
namespace {

constexpr int kSamples = 4;

// The mouse's axis of symmetry runs through the centre of pixel column 503, so column x
// mirrors column 1006 - x.
constexpr double kAxis = 503.5;
// The body, top to bottom: a rounded front up to the shoulders, nearly straight sides and a
// rounded palm.
constexpr double kFrontTip = 206.0;
constexpr double kShoulderY = 290.0;
constexpr double kBodyHalfWidth = 113.0;
constexpr double kPalmY = 365.0;
constexpr double kPalmHalfWidth = 117.0;
constexpr double kRearY = 446.0;
constexpr double kFrontRoundness = 2.2;
constexpr double kRearRoundness = 2.1;
// The palm narrows toward the wrist by this share of its half-width.
constexpr double kRearTaper = 0.12;
// The thumb rests on both flanks, which carry the side buttons: they rise from the body at
// kWingStart, stand out kWingWidth from kWingFull to kWingFade and are gone at kWingEnd.
constexpr double kWingStart = 290.0;
constexpr double kWingFull = 318.0;
constexpr double kWingFade = 366.0;
constexpr double kWingEnd = 402.0;
constexpr double kWingWidth = 23.0;
// The seam between the clicks and the palm: y = apex - rise * u^2, u = -1..1 over the span.
constexpr double kSeamApex = 323.0;
constexpr double kSeamRise = 19.0;
constexpr double kSeamHalfSpan = 113.0;

Color mixed(Color from, Color to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>(std::lround(a + (b - a) * t));
    };
    return Color{255, channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)};
}

double superellipse(double t, double roundness) {
    if (t >= 1.0) {
        return 0.0;
    }
    return std::pow(1.0 - std::pow(std::max(t, 0.0), roundness), 1.0 / roundness);
}

double smoothstep(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double body_half_width(double y) {
    if (y < kFrontTip || y > kRearY) {
        return 0.0;
    }
    if (y < kShoulderY) {
        return kBodyHalfWidth *
               superellipse((kShoulderY - y) / (kShoulderY - kFrontTip), kFrontRoundness);
    }
    if (y < kPalmY) {
        return kBodyHalfWidth + (kPalmHalfWidth - kBodyHalfWidth) *
                                    smoothstep((y - kShoulderY) / (kPalmY - kShoulderY));
    }
    const double t = (y - kPalmY) / (kRearY - kPalmY);
    return kPalmHalfWidth * (1.0 - kRearTaper * t * t) * superellipse(t, kRearRoundness);
}

double wing_width(double y) {
    if (y < kWingStart || y > kWingEnd) {
        return 0.0;
    }
    if (y < kWingFull) {
        return kWingWidth * smoothstep((y - kWingStart) / (kWingFull - kWingStart));
    }
    if (y < kWingFade) {
        return kWingWidth;
    }
    return kWingWidth * (1.0 - smoothstep((y - kWingFade) / (kWingEnd - kWingFade)));
}

double half_width(double y) {
    return body_half_width(y) + wing_width(y);
}

double seam_y(double x) {
    const double u = (x - kAxis) / kSeamHalfSpan;
    return kSeamApex - kSeamRise * u * u;
}

// The share of pixel (x, y) inside the outline shrunk by `inset` pixels.
// The share of physical pixel (x, y) inside the shell's outline moved in by `inset` logical
// pixels; `scale` is physical pixels per logical one.
double coverage(int x, int y, double inset, double scale) {
    int hits = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        const double w = half_width((y + (sy + 0.5) / kSamples) / scale) - inset;
        for (int sx = 0; sx < kSamples; ++sx) {
            if (std::abs((x + (sx + 0.5) / kSamples) / scale - kAxis) <= w) {
                ++hits;
            }
        }
    }
    return double(hits) / (kSamples * kSamples);
}

uint8_t byte(double share) {
    return static_cast<uint8_t>(std::lround(std::clamp(share, 0.0, 1.0) * 255));
}

// A soft shadow under the mouse, fading to nothing well inside the shown part.
void draw_shadow(Canvas& canvas) {
    constexpr double kCx = kAxis;
    constexpr double kCy = 336.0;
    constexpr double kRx = 190.0;
    constexpr double kRy = 112.0;
    const double scale = canvas.scale().factor();
    const Rect area = canvas.scale().to_physical(
        Rect{static_cast<int>(kCx - kRx), static_cast<int>(kCy - kRy),
             static_cast<int>(std::ceil(kCx + kRx)), static_cast<int>(std::ceil(kCy + kRy))});
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const double u = ((x + 0.5) / scale - kCx) / kRx;
            const double v = ((y + 0.5) / scale - kCy) / kRy;
            const double d = u * u + v * v;
            if (d >= 1.0) {
                continue;
            }
            const double strength = (1.0 - d) * (1.0 - d);
            canvas.blend_physical(x, y, kSeamColor, byte(0.5 * strength));
        }
    }
}

// The shell's top surface at (x, y): the click plates in front of the seam, the thumb rests
// on the flanks, the palm behind; lighter along the spine and toward the front, as if lit
// from ahead and above.
Color surface(double x, double y) {
    const double across = std::min(1.0, std::abs(x - kAxis) / kPalmHalfWidth);
    const double along = (y - kFrontTip) / (kRearY - kFrontTip);
    const double light = (1.0 - across * across) * (1.0 - 0.6 * along);
    if (wing_width(y) > 0 && std::abs(x - kAxis) > body_half_width(y)) {
        // Fine ridges across the thumb rest.
        const bool ridge = static_cast<int>(std::floor(y)) % 3 == 0;
        return ridge ? kGripRidgeColor : kGripColor;
    }
    if (y < seam_y(x)) {
        return mixed(kClickPlateColor, kShellHighlightColor, light);
    }
    return mixed(kShellColor, kShellHighlightColor, 0.8 * light);
}

void draw_shell(Canvas& canvas) {
    const int top = static_cast<int>(kFrontTip) - 1;
    const int bottom = static_cast<int>(kRearY) + 1;
    const int widest = static_cast<int>(kPalmHalfWidth + kWingWidth) + 3;
    const int left = static_cast<int>(kAxis) - widest;
    const int right = static_cast<int>(kAxis) + widest + 1;
    const double scale = canvas.scale().factor();
    const Rect area = canvas.scale().to_physical(Rect{left, top, right, bottom});
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const double outer = coverage(x, y, 0.0, scale);
            if (outer <= 0) {
                continue;
            }
            // The rim, then the surface inside it.
            canvas.blend_physical(x, y, kShellEdgeColor, byte(outer));
            const double inner = coverage(x, y, 1.5, scale);
            if (inner > 0) {
                canvas.blend_physical(x, y, surface((x + 0.5) / scale, (y + 0.5) / scale),
                                      byte(inner));
            }
        }
    }
}

// A smooth curve across the mouse, in pixel-centre coordinates, drawn with two-pixel
// vertical antialiasing.
void draw_seam_curve(Canvas& canvas, Color color) {
    // One physical pixel thick at every scale, spread over the two rows it falls between.
    const double scale = canvas.scale().factor();
    const int from =
        canvas.scale().to_physical(static_cast<int>(std::floor(kAxis - kSeamHalfSpan)) - 1);
    const int to =
        canvas.scale().to_physical(static_cast<int>(std::ceil(kAxis + kSeamHalfSpan)) + 1);
    for (int x = from; x < to; ++x) {
        const double at = (x + 0.5) / scale;
        if (std::abs(at - kAxis) > kSeamHalfSpan) {
            continue;
        }
        const double y = seam_y(at) * scale;
        const int row = static_cast<int>(std::floor(y));
        const double frac = y - row;
        canvas.blend_physical(x, row, color, byte(1 - frac));
        canvas.blend_physical(x, row + 1, color, byte(frac));
    }
}

// Where the thumb rests meet the body, one physical pixel wide, antialiased across.
void draw_wing_edges(Canvas& canvas) {
    const double scale = canvas.scale().factor();
    const int from = canvas.scale().to_physical(static_cast<int>(kWingStart));
    const int to = canvas.scale().to_physical(static_cast<int>(std::ceil(kWingEnd)));
    for (int y = from; y < to; ++y) {
        const double at = (y + 0.5) / scale;
        if (at < kWingStart || at >= kWingEnd || wing_width(at) < 1.0) {
            continue;
        }
        const double offset = body_half_width(at);  // from the axis
        for (double side : {-1.0, 1.0}) {
            const double x = (kAxis + side * offset) * scale - 0.5;
            const int column = static_cast<int>(std::floor(x));
            const double frac = x - column;
            canvas.blend_physical(column, y, kSeamColor, byte(1 - frac));
            canvas.blend_physical(column + 1, y, kSeamColor, byte(frac));
        }
    }
}

void draw_seams(Canvas& canvas) {
    // The split between the two clicks, from the front down to the wheel's slot.
    canvas.fill_rect(Rect{502, static_cast<int>(kFrontTip) + 6, 505, 283}, kSeamColor);
    // The wheel's slot and the DPI buttons' well, a little wider than the parts in them.
    fill_round_rect(canvas, Rect{491, 283, 516, 321}, 5, kSeamColor);
    fill_round_rect(canvas, Rect{493, 325, 514, 356}, 4, kSeamColor);
    draw_seam_curve(canvas, kSeamColor);
    draw_wing_edges(canvas);
}

// The brand mark on the palm, lit like the mouse's own lighting.
void draw_palm_mark(Canvas& canvas) {
    constexpr double kTop = 392;
    constexpr double kHeight = 16;
    const Color glow{110, kAccentColor.r, kAccentColor.g, kAccentColor.b};
    for (int i = 0; i < 2; ++i) {
        const double y = kTop + i * 7;
        const Color color = i == 0 ? kAccentColor : glow;
        fill_polygon(canvas,
                     {{kAxis - 12, y},
                      {kAxis, y + kHeight / 2},
                      {kAxis + 12, y},
                      {kAxis + 12, y + 4},
                      {kAxis, y + kHeight / 2 + 4},
                      {kAxis - 12, y + 4}},
                     color);
    }
}

void draw_leaders(Canvas& canvas) {
    for (const LeaderLine& line : leader_lines()) {
        for (size_t i = 1; i < line.points.size(); ++i) {
            const ui::Point a = line.points[i - 1];
            const ui::Point b = line.points[i];
            canvas.fill_rect(Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
                                  std::max(a.y, b.y) + 1},
                             kLeaderColor);
        }
        const ui::Point start = line.points.front();
        fill_circle(canvas, start.x + 0.5, start.y + 0.5, 2.2, kLeaderColor);
    }
}

// Button `index` of kMouseButtonRects, never painting outside its rectangle.
void draw_button(Canvas& canvas, size_t index, ButtonLook look) {
    const Rect rect = kMouseButtonRects[index];
    ui::ClipScope clip(canvas, rect);
    const bool lit = look == ButtonLook::kLit;
    const Color edge = lit ? kAccentHotColor : kMouseButtonEdgeColor;
    const Color face = lit ? kAccentColor : kMouseButtonColor;
    const double radius = std::min(rect.width(), rect.height()) >= 20 ? 5 : 3;
    fill_round_rect(canvas, inset(rect, 1), radius, edge);
    fill_round_rect(canvas, inset(rect, 2), radius - 1, face);
    if (index == 2) {
        // The wheel: ribs across its tread.
        const Color rib = lit ? kAccentPushedColor : kShellEdgeColor;
        for (int y = rect.top + 5; y < rect.bottom - 4; y += 3) {
            canvas.fill_rect(Rect{rect.left + 6, y, rect.right - 6, y + 1}, rib);
        }
    }
}

}  // namespace

const std::vector<LeaderLine>& leader_lines() {
    static const std::vector<LeaderLine> kLines{
        {0, {{472, 267}, {472, 128}, {kLeftFieldsRight, 128}}},
        {10, {{411, 283}, {411, 184}, {kLeftFieldsRight, 184}}},
        {7, {{375, 325}, {330, 325}, {330, 240}, {kLeftFieldsRight, 240}}},
        {8, {{368, 351}, {310, 351}, {310, 296}, {kLeftFieldsRight, 296}}},
        {3, {{493, 334}, {470, 334}, {470, 380}, {290, 380}, {290, 352}, {kLeftFieldsRight, 352}}},
        {4, {{493, 348}, {478, 348}, {478, 408}, {kLeftFieldsRight, 408}}},
        {2, {{504, 283}, {504, 156}, {kRightFieldsLeft - 1, 156}}},
        {1, {{534, 267}, {534, 212}, {kRightFieldsLeft - 1, 212}}},
        {9, {{594, 283}, {594, 268}, {kRightFieldsLeft - 1, 268}}},
        {5, {{632, 324}, {kRightFieldsLeft - 1, 324}}},
        {6, {{639, 352}, {700, 352}, {700, 380}, {kRightFieldsLeft - 1, 380}}},
    };
    return kLines;
}

Canvas draw_mouse_picture(ButtonLook look, ui::DisplayScale scale) {
    Canvas canvas(kMousePictureWidth, kMousePictureHeight, scale);
    canvas.clear(kPanelColor);
    draw_shadow(canvas);
    draw_shell(canvas);
    draw_seams(canvas);
    draw_palm_mark(canvas);
    draw_leaders(canvas);
    for (size_t i = 0; i < kMouseButtonRects.size(); ++i) {
        draw_button(canvas, i, look);
    }
    return canvas;
}

}  // namespace talvoro::skins
