#include "render/display_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace talvoro::ui {
namespace {

// floor(a / b) for a positive b, negative a included.
int64_t floor_divide(int64_t a, int64_t b) {
    const int64_t quotient = a / b;
    return (a % b != 0 && a < 0) ? quotient - 1 : quotient;
}

int saturate(int64_t value) {
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int>(value);
}

}  // namespace

std::optional<DisplayScale> DisplayScale::nearest(double factor) {
    if (!std::isfinite(factor) || factor <= 0) {
        return std::nullopt;
    }
    const double percent = factor * 100.0;
    if (percent <= kSmallestPercent) {
        return DisplayScale(kSmallestPercent);
    }
    if (percent >= kLargestPercent) {
        return DisplayScale(kLargestPercent);
    }
    const int steps = static_cast<int>(std::floor(percent / kStepPercent + 0.5));
    return DisplayScale(steps * kStepPercent);
}

std::optional<DisplayScale> DisplayScale::from_percent(int percent) {
    if (percent < kSmallestPercent || percent > kLargestPercent || percent % kStepPercent != 0) {
        return std::nullopt;
    }
    return DisplayScale(percent);
}

int DisplayScale::to_physical(int logical) const {
    return saturate(floor_divide(int64_t{logical} * percent_ + 50, 100));
}

Point DisplayScale::to_physical(Point logical) const {
    return Point{to_physical(logical.x), to_physical(logical.y)};
}

Size DisplayScale::to_physical(Size logical) const {
    return Size{to_physical(logical.width), to_physical(logical.height)};
}

Rect DisplayScale::to_physical(const Rect& logical) const {
    return Rect{to_physical(logical.left), to_physical(logical.top), to_physical(logical.right),
                to_physical(logical.bottom)};
}

Rect DisplayScale::to_physical(const Rect& picture, int density) const {
    const int64_t divisor = 100 * int64_t{std::max(1, density)};
    auto edge = [&](int value) {
        return saturate(floor_divide(int64_t{value} * percent_ * 2 + divisor, divisor * 2));
    };
    return Rect{edge(picture.left), edge(picture.top), edge(picture.right), edge(picture.bottom)};
}

int DisplayScale::to_logical(int physical) const {
    // The largest L whose left edge, floor(L * s + 1/2), is at or before `physical`.
    return saturate(floor_divide((2 * int64_t{physical} + 1) * 50 - 1, percent_));
}

Point DisplayScale::to_logical(Point physical) const {
    return Point{to_logical(physical.x), to_logical(physical.y)};
}

int DisplayScale::line_thickness(int logical) const {
    if (logical <= 1) {
        return logical;
    }
    return to_physical(logical);
}

}  // namespace talvoro::ui
