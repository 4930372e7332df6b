#include "skin_shapes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "render/text_renderer.h"
#include "skin_palette.h"

namespace talvoro::skins {
namespace {

constexpr int kCaptionPadding = 8;
constexpr int kIconSize = 12;
constexpr int kIconGap = 6;
constexpr double kButtonRadius = 3;

Color scaled(Color color, double factor) {
    auto channel = [factor](uint8_t v) {
        return static_cast<uint8_t>(std::clamp(std::lround(v * factor), 0L, 255L));
    };
    return Color{color.a, channel(color.r), channel(color.g), channel(color.b)};
}

struct Look {
    Color face;  // alpha 0: none
    Color edge;  // alpha 0: none
    Color text;
};

Look button_look(ButtonStyle style, State state) {
    constexpr Color kNone{};
    switch (style) {
        case ButtonStyle::kAccent:
            switch (state) {
                case State::kHot:
                    return {kAccentHotColor, kNone, kTextColor};
                case State::kPushed:
                case State::kSelected:
                    return {kAccentPushedColor, kNone, kTextColor};
                case State::kDisabled:
                    return {kAccentDarkColor, kNone, kDisabledTextColor};
                case State::kNormal:
                    break;
            }
            return {kAccentColor, kNone, kTextColor};
        case ButtonStyle::kGhost:
            switch (state) {
                case State::kHot:
                    return {kControlHotColor, kNone, kAccentColor};
                case State::kPushed:
                case State::kSelected:
                    return {kAccentDarkColor, kNone, kAccentColor};
                case State::kDisabled:
                    return {kNone, kNone, kDisabledTextColor};
                case State::kNormal:
                    break;
            }
            return {kNone, kNone, kSecondaryTextColor};
        case ButtonStyle::kOutline:
            break;
    }
    switch (state) {
        case State::kHot:
            return {kControlHotColor, kControlHotEdgeColor, kAccentColor};
        case State::kPushed:
        case State::kSelected:
            return {kAccentDarkColor, kAccentColor, kAccentColor};
        case State::kDisabled:
            return {kNone, kDisabledEdgeColor, kDisabledTextColor};
        case State::kNormal:
            break;
    }
    return {kControlColor, kControlEdgeColor, kTextColor};
}

void paint_face(Canvas& canvas, const Rect& rect, const Look& look, double radius) {
    if (look.face.a != 0) {
        fill_round_rect(canvas, rect, radius, look.face);
    }
    if (look.edge.a != 0) {
        stroke_round_rect(canvas, rect, radius, look.edge);
    }
}

// The caption, with the icon before it, centred as one group inside `rect`.
void draw_centred_caption(Canvas& canvas, CaptionLog& captions, const Rect& rect,
                          std::string_view caption, const ui::FontStyle& font, Color color,
                          Icon icon) {
    const Rect room{rect.left + kCaptionPadding, rect.top, rect.right - kCaptionPadding,
                    rect.bottom};
    const int icon_room = icon == Icon::kNone ? 0 : kIconSize + kIconGap;
    const int text_width = caption.empty() ? 0 : ui::measure_text(caption, font).width;
    const int group = icon_room + text_width - (caption.empty() ? kIconGap : 0);
    const int left = room.left + std::max(0, (room.width() - group) / 2);
    if (icon != Icon::kNone) {
        draw_icon(canvas, icon, left + kIconSize / 2.0, (rect.top + rect.bottom) / 2.0, kIconSize,
                  color);
    }
    if (!caption.empty()) {
        captions.draw(canvas, Rect{left + icon_room, rect.top, room.right, rect.bottom}, caption,
                      font, color, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    }
}

}  // namespace

bool window_shape_contains(int x, int y) {
    return window_shape_contains_at(x + 0.5, y + 0.5);
}

bool window_shape_contains_at(double x, double y) {
    if (x < 0 || y < 0 || x >= kWindowWidth || y >= kWindowHeight) {
        return false;
    }
    // Measured from pixel centres, so that at 100 % the chamfers are whole pixels.
    const double dx = std::min(x, kWindowWidth - x);
    const double dy = std::min(y, kWindowHeight - y);
    return dx + dy >= kWindowChamfer + 1;
}

Rect cell(int width, int height, int column, int row) {
    return Rect{column * width, row * height, (column + 1) * width, (row + 1) * height};
}

void fill_window_background(Canvas& canvas, const Rect& rect) {
    // Every popup of a size shares one background: computed once per size on the surface.
    static std::map<std::pair<int, int>, ui::Image> cache;
    const Rect physical = canvas.scale().to_physical(rect);
    const std::pair<int, int> key{physical.width(), physical.height()};
    auto it = cache.find(key);
    if (it == cache.end()) {
        std::optional<ui::Image> image = ui::Image::create(key.first, key.second);
        if (!image) {
            return;
        }
        const double rx = std::max(1.0, key.first / 2.0);
        const double ry = std::max(1.0, key.second / 2.0);
        for (int y = 0; y < key.second; ++y) {
            const double v = (y + 0.5 - ry) / ry;
            for (int x = 0; x < key.first; ++x) {
                const double u = (x + 0.5 - rx) / rx;
                // Darkens only toward the edges, so the centre keeps the exact window colour.
                const double d = std::min(1.0, (u * u + v * v) / 2.0);
                image->set_pixel(x, y,
                                 scaled(kWindowColor, 1.0 - kVignetteStrength / 255.0 * d * d));
            }
        }
        it = cache.emplace(key, std::move(*image)).first;
    }
    canvas.blit(it->second, it->second.bounds(), rect);
}

void draw_button(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
                 const ui::FontStyle& font, ButtonStyle style, State state, Icon icon) {
    const Look look = button_look(style, state);
    paint_face(canvas, rect, look, kButtonRadius);
    draw_centred_caption(canvas, captions, rect, caption, font, look.text, icon);
}

void draw_button_states(Canvas& canvas, CaptionLog& captions, int width, int height,
                        std::string_view caption, const ui::FontStyle& font, ButtonStyle style,
                        Icon icon, int column) {
    for (size_t row = 0; row < kButtonStates.size(); ++row) {
        draw_button(canvas, captions, cell(width, height, column, static_cast<int>(row)), caption,
                    font, style, kButtonStates[row], icon);
    }
}

void draw_icon_button(Canvas& canvas, const Rect& rect, Icon icon, State state, ButtonStyle style) {
    const Look look = button_look(style, state);
    paint_face(canvas, rect, look, kButtonRadius);
    const double size = std::min(rect.width(), rect.height()) * 0.55;
    draw_icon(canvas, icon, (rect.left + rect.right) / 2.0, (rect.top + rect.bottom) / 2.0, size,
              look.text);
}

void draw_tab(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
              const ui::FontStyle& font, State state) {
    ui::FontStyle face = font;
    face.bold = state == State::kSelected;
    const Color text = state == State::kNormal ? kSecondaryTextColor : kTextColor;
    captions.draw(canvas, Rect{rect.left + 4, rect.top, rect.right - 4, rect.bottom - 3}, caption,
                  face, text, ui::kTextCenter | ui::kTextVCenter | ui::kTextSingleLine);
    if (state == State::kNormal) {
        return;
    }
    const int width = ui::measure_text(caption, face).width + 24;
    const int left = rect.left + std::max(0, (rect.width() - width) / 2);
    const int right = std::min(rect.right, left + width);
    const bool selected = state == State::kSelected;
    const int thickness = selected ? 2 : 1;
    canvas.fill_rect(Rect{left, rect.bottom - thickness, right, rect.bottom},
                     selected ? kAccentColor : kControlHotEdgeColor);
}

void draw_chip(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
               const ui::FontStyle& font, State state) {
    Look look{kControlColor, kControlEdgeColor, kSecondaryTextColor};
    if (state == State::kHot) {
        look = {kControlHotColor, kControlHotEdgeColor, kTextColor};
    } else if (state == State::kSelected) {
        look = {kAccentDarkColor, kAccentColor, kAccentColor};
    }
    paint_face(canvas, rect, look, kButtonRadius);
    draw_centred_caption(canvas, captions, rect, caption, font, look.text, Icon::kNone);
}

void draw_toggle(Canvas& canvas, int left, int top, bool on, bool hot) {
    const Rect track{left, top, left + kToggleWidth, top + kToggleHeight};
    const double radius = kToggleHeight / 2.0;
    const double knob_y = top + radius;
    if (on) {
        fill_round_rect(canvas, track, radius, hot ? kAccentHotColor : kAccentColor);
        fill_circle(canvas, track.right - radius, knob_y, radius - 2.5, kTextColor);
        return;
    }
    fill_round_rect(canvas, track, radius, kFieldColor);
    stroke_round_rect(canvas, track, radius, hot ? kSecondaryTextColor : kControlHotEdgeColor);
    fill_circle(canvas, left + radius, knob_y, radius - 3, hot ? kTextColor : kSecondaryTextColor);
}

void draw_switch_option(Canvas& canvas, CaptionLog& captions, const Rect& rect,
                        std::string_view caption, const ui::FontStyle& font, State state) {
    // The switch and its caption, centred as one group.
    constexpr int kGap = 7;
    const bool on = state == State::kSelected;
    const int text_width = ui::measure_text(caption, font).width;
    const int group = kToggleWidth + kGap + text_width;
    const int left = rect.left + std::max(2, (rect.width() - group) / 2);
    const int top = rect.top + (rect.height() - kToggleHeight) / 2;
    draw_toggle(canvas, left, top, on, state == State::kHot);
    const Color text = state == State::kNormal ? kSecondaryTextColor : kTextColor;
    captions.draw(canvas, Rect{left + kToggleWidth + kGap, rect.top, rect.right, rect.bottom},
                  caption, font, text, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
}

void draw_check_option(Canvas& canvas, CaptionLog& captions, const Rect& rect,
                       std::string_view caption, const ui::FontStyle& font, State state) {
    constexpr int kBox = 12;
    const int top = rect.top + (rect.height() - kBox) / 2;
    const Rect box{rect.left + 2, top, rect.left + 2 + kBox, top + kBox};
    if (state == State::kSelected) {
        fill_round_rect(canvas, box, 2, kAccentColor);
        draw_icon(canvas, Icon::kCheck, (box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0,
                  9, kTextColor);
    } else {
        fill_round_rect(canvas, box, 2, kFieldColor);
        stroke_round_rect(canvas, box, 2,
                          state == State::kHot ? kAccentColor : kControlHotEdgeColor);
    }
    const Color text = state == State::kNormal ? kSecondaryTextColor : kTextColor;
    captions.draw(canvas, Rect{box.right + 8, rect.top, rect.right, rect.bottom}, caption, font,
                  text, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
}

void draw_heading(Canvas& canvas, CaptionLog& captions, const Rect& rect, std::string_view caption,
                  const ui::FontStyle& font) {
    const int bar = std::min(rect.height() - 4, 12);
    const int top = rect.top + (rect.height() - bar) / 2;
    canvas.fill_rect(Rect{rect.left, top, rect.left + 3, top + bar}, kAccentColor);
    captions.draw(canvas, Rect{rect.left + 11, rect.top, rect.right, rect.bottom}, caption, font,
                  kTextColor, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
}

void draw_popup_frame(Canvas& canvas, CaptionLog& captions, std::string_view title,
                      const ui::FontStyle& font, int caption_height) {
    const Rect all = canvas.bounds();
    fill_window_background(canvas, all);
    canvas.fill_rect(Rect{1, 1, all.right - 1, caption_height}, kPanelColor);
    canvas.fill_rect(Rect{1, caption_height, all.right - 1, caption_height + 1}, kPanelBorderColor);
    if (!title.empty()) {
        ui::FontStyle bold = font;
        bold.bold = true;
        draw_heading(canvas, captions, Rect{16, 0, all.right - 48, caption_height}, title, bold);
    }
    canvas.draw_border(all, kAccentColor, 1);
}

void draw_badge(Canvas& canvas, double cx, double cy, double radius, char sign) {
    fill_circle(canvas, cx, cy, radius, kAccentDarkColor);
    stroke_circle(canvas, cx, cy, radius - 1, 2, kAccentColor);
    const int r = static_cast<int>(radius);
    const Rect box{static_cast<int>(cx) - r, static_cast<int>(cy) - r, static_cast<int>(cx) + r,
                   static_cast<int>(cy) + r};
    const ui::FontStyle font{"Verdana", static_cast<int>(radius * 1.2), true};
    ui::draw_text(canvas, box, std::string(1, sign), font, kTextColor,
                  ui::kTextCenter | ui::kTextVCenter | ui::kTextSingleLine);
}

}  // namespace talvoro::skins
