#include "render/rect.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>

namespace talvoro::ui {

namespace {

int saturate(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

int Rect::width() const {
    return saturate(std::max<int64_t>(0, int64_t{right} - left));
}

int Rect::height() const {
    return saturate(std::max<int64_t>(0, int64_t{bottom} - top));
}

Rect Rect::intersect(const Rect& other) const {
    Rect result{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    if (result.empty()) {
        return Rect{};
    }
    return result;
}

Rect Rect::unite(const Rect& other) const {
    if (empty()) {
        return other.empty() ? Rect{} : other;
    }
    if (other.empty()) {
        return *this;
    }
    return Rect{std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
}

Rect Rect::offset(int dx, int dy) const {
    return Rect{saturate(int64_t{left} + dx), saturate(int64_t{top} + dy),
                saturate(int64_t{right} + dx), saturate(int64_t{bottom} + dy)};
}

Rect Rect::deflate(const Rect& insets) const {
    return Rect{saturate(int64_t{left} + insets.left), saturate(int64_t{top} + insets.top),
                saturate(int64_t{right} - insets.right), saturate(int64_t{bottom} - insets.bottom)};
}

std::optional<Rect> parse_rect(std::string_view text) {
    int values[4];
    for (int i = 0; i < 4; ++i) {
        size_t comma = text.find(',');
        if ((i < 3) != (comma != std::string_view::npos)) {
            return std::nullopt;
        }
        std::string_view part = trim(text.substr(0, comma));
        if (part.empty()) {
            return std::nullopt;
        }
        auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), values[i]);
        if (error != std::errc{} || end != part.data() + part.size()) {
            return std::nullopt;
        }
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return Rect{values[0], values[1], values[2], values[3]};
}

}  // namespace talvoro::ui
