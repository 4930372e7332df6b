#include "render/color.h"

#include <charconv>

namespace talvoro::ui {

std::optional<Color> parse_color(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    bool hash = text.starts_with('#');
    if (hash) {
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    } else {
        return std::nullopt;
    }
    // "0x" always carries the alpha byte; "#" may leave it out.
    if (text.size() != 8 && !(hash && text.size() == 6)) {
        return std::nullopt;
    }
    for (char c : text) {
        bool digit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit) {
            return std::nullopt;
        }
    }
    uint32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() == 6) {
        value |= 0xFF000000u;
    }
    return Color::from_argb(value);
}

}  // namespace talvoro::ui
