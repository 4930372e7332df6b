// Colours as layouts write them: "#AARRGGBB", "#RRGGBB" or "0xAARRGGBB".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talvoro::ui {

// Straight (not premultiplied) alpha.
struct Color {
    uint8_t a = 0;
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    static constexpr Color from_argb(uint32_t argb) {
        return Color{static_cast<uint8_t>(argb >> 24), static_cast<uint8_t>(argb >> 16),
                     static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)};
    }
    constexpr uint32_t argb() const {
        return uint32_t{a} << 24 | uint32_t{r} << 16 | uint32_t{g} << 8 | b;
    }
    // Layouts write a background of 0 for "no background".
    constexpr bool is_none() const { return argb() == 0; }
    bool operator==(const Color&) const = default;
};

// "#RRGGBB" is opaque; malformed text gives nothing.
std::optional<Color> parse_color(std::string_view text);

// Text colours are written with any alpha byte ("#00FFFFFF") and meant opaque.
constexpr Color opaque(Color color) {
    color.a = 255;
    return color;
}

}  // namespace talvoro::ui
