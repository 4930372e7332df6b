#include "shell/popups/rounded_shape.h"

#include <algorithm>
#include <cmath>

namespace talvoro::shell {
namespace {

// Samples per pixel along each axis when deciding how much of a pixel the ellipse covers.
constexpr int kSamples = 4;

// Whether pixel (x, y) of the top-left corner box stays: more than half of it inside the quarter
// ellipse whose centre is (rx, ry).
bool pixel_kept(int x, int y, double rx, double ry) {
    int inside = 0;
    for (int i = 0; i < kSamples; ++i) {
        for (int j = 0; j < kSamples; ++j) {
            const double px = x + (i + 0.5) / kSamples;
            const double py = y + (j + 0.5) / kSamples;
            const double dx = px < rx ? (px - rx) / rx : 0.0;
            const double dy = py < ry ? (py - ry) / ry : 0.0;
            if (dx * dx + dy * dy <= 1.0) {
                ++inside;
            }
        }
    }
    return 2 * inside > kSamples * kSamples;
}

}  // namespace

std::vector<ui::Rect> rounded_rect_shape(ui::Size size, ui::Size corner) {
    const int width = size.width;
    const int height = size.height;
    if (width <= 0 || height <= 0) {
        return {};
    }
    const int corner_width = std::clamp(corner.width, 0, width);
    const int corner_height = std::clamp(corner.height, 0, height);
    if (corner_width == 0 || corner_height == 0) {
        return {ui::Rect{0, 0, width, height}};
    }
    const double rx = corner_width / 2.0;
    const double ry = corner_height / 2.0;
    // Rows of the top corners and, mirrored, of the bottom ones; never more than half the height.
    const int rows = std::min(static_cast<int>(std::ceil(ry)), height / 2);
    const int columns = static_cast<int>(std::ceil(rx));
    std::vector<int> cut(static_cast<size_t>(rows), 0);
    for (int y = 0; y < rows; ++y) {
        int x = 0;
        while (x < columns && !pixel_kept(x, y, rx, ry)) {
            ++x;
        }
        cut[static_cast<size_t>(y)] = std::min(x, (width - 1) / 2);
    }

    std::vector<ui::Rect> rects;
    // Adds one row, joining it to the rectangle above when they have the same sides.
    auto add_row = [&rects](int left, int top, int right) {
        if (!rects.empty() && rects.back().left == left && rects.back().right == right &&
            rects.back().bottom == top) {
            rects.back().bottom = top + 1;
            return;
        }
        rects.push_back(ui::Rect{left, top, right, top + 1});
    };
    for (int y = 0; y < height; ++y) {
        int inset = 0;
        if (y < rows) {
            inset = cut[static_cast<size_t>(y)];
        } else if (y >= height - rows) {
            inset = cut[static_cast<size_t>(height - 1 - y)];
        }
        add_row(inset, y, width - inset);
    }
    return rects;
}

}  // namespace talvoro::shell
