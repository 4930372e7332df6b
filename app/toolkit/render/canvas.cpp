#include "render/canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace talvoro::ui {

namespace {

// Lines may run far outside the canvas; build their rectangles without overflowing.
Rect rect_from(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    auto fit = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); };
    return Rect{fit(left), fit(top), fit(right), fit(bottom)};
}

// Thicker lines are a mistake of the caller; keep the arithmetic small.
constexpr int kMaxLineThickness = 4096;

}  // namespace

Canvas::Canvas(int width, int height, DisplayScale scale) {
    resize(width, height, scale);
}

bool Canvas::resize(int width, int height, DisplayScale scale) {
    clips_.clear();
    scale_ = scale;
    const Size physical = scale.to_physical(Size{width, height});
    std::optional<Image> surface = Image::create(physical.width, physical.height);
    surface_ = surface ? std::move(*surface) : Image{};
    width_ = surface ? width : 0;
    height_ = surface ? height : 0;
    return surface.has_value();
}

Rect Canvas::physical_clip() const {
    return clips_.empty() ? surface_.bounds() : clips_.back();
}

void Canvas::clear(const Rect& rect, Color color) {
    store_physical(scale_.to_physical(rect).intersect(physical_clip()), color);
}

void Canvas::store_physical(const Rect& area, Color color) {
    if (area.empty()) {
        return;
    }
    // Whole rows of one pixel value: the start-up frame clears and fills most of the window.
    const uint8_t pixel[4] = {color.r, color.g, color.b, color.a};
    const size_t row_bytes = static_cast<size_t>(area.width()) * 4;
    const auto row_at = [&](int y) {
        return surface_.data() + static_cast<size_t>(y) * surface_.stride() +
               static_cast<size_t>(area.left) * 4;
    };
    uint8_t* first = row_at(area.top);
    for (size_t at = 0; at < row_bytes; at += 4) {
        std::memcpy(first + at, pixel, 4);
    }
    for (int y = area.top + 1; y < area.bottom; ++y) {
        std::memcpy(row_at(y), first, row_bytes);
    }
}

void Canvas::blend_at(uint8_t* p, uint8_t r, uint8_t g, uint8_t b, unsigned alpha) {
    if (alpha == 0) {
        return;
    }
    if (alpha >= 255) {
        p[0] = r;
        p[1] = g;
        p[2] = b;
        p[3] = 255;
        return;
    }
    // Source-over with straight alpha, weights scaled by 255*255.
    unsigned source_weight = alpha * 255;
    unsigned dest_weight = p[3] * (255 - alpha);
    unsigned total = source_weight + dest_weight;
    auto mix = [&](unsigned source, unsigned dest) {
        return static_cast<uint8_t>((source * source_weight + dest * dest_weight + total / 2) /
                                    total);
    };
    p[0] = mix(r, p[0]);
    p[1] = mix(g, p[1]);
    p[2] = mix(b, p[2]);
    p[3] = static_cast<uint8_t>((total + 127) / 255);
}

void Canvas::blend_premultiplied(uint8_t* p, const double sum[4], uint8_t alpha) {
    if (sum[3] <= 0) {
        return;
    }
    uint8_t pixel[3];
    for (int c = 0; c < 3; ++c) {
        pixel[c] = static_cast<uint8_t>(std::clamp(sum[c] / sum[3] + 0.5, 0.0, 255.0));
    }
    const unsigned a = static_cast<unsigned>(std::clamp(sum[3] + 0.5, 0.0, 255.0));
    blend_at(p, pixel[0], pixel[1], pixel[2], (a * alpha + 127) / 255);
}

void Canvas::blend_physical(int x, int y, Color color, uint8_t coverage) {
    if (!physical_clip().contains(x, y)) {
        return;
    }
    uint8_t* p = surface_.data() + static_cast<size_t>(y) * surface_.stride() + size_t(x) * 4;
    blend_at(p, color.r, color.g, color.b, (unsigned{color.a} * coverage + 127) / 255);
}

void Canvas::blend_pixel(int x, int y, Color color, uint8_t coverage) {
    if (x == INT_MAX || y == INT_MAX) {
        return;
    }
    color.a = static_cast<uint8_t>((unsigned{color.a} * coverage + 127) / 255);
    fill_rect(Rect{x, y, x + 1, y + 1}, color);
}

void Canvas::fill_rect(const Rect& rect, Color color) {
    fill_physical(scale_.to_physical(rect), color);
}

void Canvas::fill_physical(const Rect& rect, Color color) {
    Rect area = rect.intersect(physical_clip());
    if (color.a == 0) {
        return;
    }
    if (color.a == 255) {
        store_physical(area, color);
        return;
    }
    for (int y = area.top; y < area.bottom; ++y) {
        uint8_t* row = surface_.data() + static_cast<size_t>(y) * surface_.stride();
        for (int x = area.left; x < area.right; ++x) {
            blend_at(row + size_t(x) * 4, color.r, color.g, color.b, color.a);
        }
    }
}

void Canvas::draw_border(const Rect& rect, Color color, int size) {
    if (size <= 0 || rect.empty()) {
        return;
    }
    if (int64_t{size} * 2 >= rect.width() || int64_t{size} * 2 >= rect.height()) {
        fill_rect(rect, color);
        return;
    }
    const Rect r = scale_.to_physical(rect);
    const int band = scale_.line_thickness(size);
    if (int64_t{band} * 2 >= r.width() || int64_t{band} * 2 >= r.height()) {
        fill_physical(r, color);
        return;
    }
    // Four bands that do not overlap, so a translucent frame blends evenly.
    fill_physical(Rect{r.left, r.top, r.right, r.top + band}, color);
    fill_physical(Rect{r.left, r.bottom - band, r.right, r.bottom}, color);
    fill_physical(Rect{r.left, r.top + band, r.left + band, r.bottom - band}, color);
    fill_physical(Rect{r.right - band, r.top + band, r.right, r.bottom - band}, color);
}

void Canvas::draw_line(Point from, Point to, Color color, int thickness) {
    if (thickness <= 0) {
        return;
    }
    thickness = scale_.line_thickness(std::min(thickness, kMaxLineThickness));
    if (from.x == to.x || from.y == to.y) {
        // Along its length the line covers whole logical pixels; across, `thickness` physical.
        const Rect ends = scale_.to_physical(
            rect_from(std::min(from.x, to.x), std::min(from.y, to.y),
                      int64_t{std::max(from.x, to.x)} + 1, int64_t{std::max(from.y, to.y)} + 1));
        const int64_t right = from.x == to.x ? int64_t{ends.left} + thickness : ends.right;
        const int64_t bottom = from.x == to.x ? ends.bottom : int64_t{ends.top} + thickness;
        fill_physical(rect_from(ends.left, ends.top, right, bottom), color);
        return;
    }
    from = scale_.to_physical(from);
    to = scale_.to_physical(to);
    // Cut the segment to the clip first (Liang-Barsky), so a line with far-away ends costs
    // only the pixels it can touch; then Bresenham in 64 bits.
    Rect limit = physical_clip();
    if (limit.empty()) {
        return;
    }
    double x0 = from.x;
    double y0 = from.y;
    double delta_x = double(to.x) - from.x;
    double delta_y = double(to.y) - from.y;
    double enter = 0;
    double leave = 1;
    auto cut = [&](double p, double q) {
        if (p == 0) {
            return q >= 0;
        }
        double t = q / p;
        if (p < 0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
        return enter <= leave;
    };
    // One pixel of margin so rounding never drops the pixels at the clip's edge.
    double low_x = double(limit.left) - thickness - 1;
    double high_x = double(limit.right) + 1;
    double low_y = double(limit.top) - thickness - 1;
    double high_y = double(limit.bottom) + 1;
    if (!cut(-delta_x, x0 - low_x) || !cut(delta_x, high_x - x0) || !cut(-delta_y, y0 - low_y) ||
        !cut(delta_y, high_y - y0)) {
        return;
    }
    int64_t x = std::llround(x0 + enter * delta_x);
    int64_t y = std::llround(y0 + enter * delta_y);
    int64_t end_x = std::llround(x0 + leave * delta_x);
    int64_t end_y = std::llround(y0 + leave * delta_y);
    int64_t dx = std::llabs(end_x - x);
    int64_t dy = -std::llabs(end_y - y);
    int step_x = x < end_x ? 1 : -1;
    int step_y = y < end_y ? 1 : -1;
    int64_t error = dx + dy;
    for (;;) {
        if (x + thickness > limit.left && x < limit.right && y + thickness > limit.top &&
            y < limit.bottom) {
            fill_physical(rect_from(x, y, x + thickness, y + thickness), color);
        }
        if (x == end_x && y == end_y) {
            break;
        }
        int64_t doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += step_x;
        }
        if (doubled <= dx) {
            error += dx;
            y += step_y;
        }
    }
}

void Canvas::blit(const Image& image, const Rect& source, const Rect& dest, uint8_t alpha) {
    const Rect from = source.intersect(image.bounds());
    const Rect to = scale_.to_physical(dest);
    const Rect area = to.intersect(physical_clip());
    if (from.empty() || area.empty() || alpha == 0) {
        return;
    }
    if (from.width() == to.width() && from.height() == to.height()) {
        const int shift_x = from.left - to.left;
        const int shift_y = from.top - to.top;
        for (int y = area.top; y < area.bottom; ++y) {
            const uint8_t* in = image.data() + size_t(y + shift_y) * image.stride();
            uint8_t* out = surface_.data() + size_t(y) * surface_.stride();
            for (int x = area.left; x < area.right; ++x) {
                const uint8_t* s = in + size_t(x + shift_x) * 4;
                uint8_t* d = out + size_t(x) * 4;
                const unsigned a = (s[3] * unsigned{alpha} + 127) / 255;
                if (a == 255) {
                    // Most of a skin is opaque: a copy, not a blend.
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                    d[3] = 255;
                } else {
                    blend_at(d, s[0], s[1], s[2], a);
                }
            }
        }
        return;
    }
    if (from.width() >= to.width() && from.height() >= to.height()) {
        scale_down(image, from, to, area, alpha);
    } else {
        interpolate(image, from, to, area, alpha);
    }
}

namespace {

// The source pixels a target pixel covers along one axis, with the share of each.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Span> box_spans(int from_start, int from_length, int to_length, int area_start,
                            int area_end, int to_start) {
    std::vector<Span> spans;
    spans.reserve(static_cast<size_t>(area_end - area_start));
    const double step = double(from_length) / to_length;
    for (int t = area_start; t < area_end; ++t) {
        const double low = (t - to_start) * step;
        const double high = low + step;
        Span span;
        span.first = from_start + static_cast<int>(std::floor(low));
        const int last = std::min(from_length, static_cast<int>(std::ceil(high)));
        for (int s = span.first - from_start; s < last; ++s) {
            span.weights.push_back((std::min(high, s + 1.0) - std::max(low, double(s))) / step);
        }
        spans.push_back(std::move(span));
    }
    return spans;
}

}  // namespace

void Canvas::scale_down(const Image& image, const Rect& from, const Rect& to, const Rect& area,
                        uint8_t alpha) {
    // Each target pixel is the average of the source area it covers: a larger picture shrinks
    // without the moire and lost hairlines of point or bilinear sampling.
    const std::vector<Span> columns =
        box_spans(from.left, from.width(), to.width(), area.left, area.right, to.left);
    const std::vector<Span> rows =
        box_spans(from.top, from.height(), to.height(), area.top, area.bottom, to.top);
    for (int y = area.top; y < area.bottom; ++y) {
        const Span& row = rows[size_t(y - area.top)];
        uint8_t* out = surface_.data() + size_t(y) * surface_.stride();
        for (int x = area.left; x < area.right; ++x) {
            const Span& column = columns[size_t(x - area.left)];
            // Premultiplied, so transparent neighbours do not darken the edges.
            double sum[4] = {0, 0, 0, 0};
            for (size_t j = 0; j < row.weights.size(); ++j) {
                const uint8_t* in = image.data() + size_t(row.first + int(j)) * image.stride();
                for (size_t i = 0; i < column.weights.size(); ++i) {
                    const uint8_t* s = in + size_t(column.first + int(i)) * 4;
                    const double a = s[3] * row.weights[j] * column.weights[i];
                    sum[0] += s[0] * a;
                    sum[1] += s[1] * a;
                    sum[2] += s[2] * a;
                    sum[3] += a;
                }
            }
            blend_premultiplied(out + size_t(x) * 4, sum, alpha);
        }
    }
}

void Canvas::interpolate(const Image& image, const Rect& from, const Rect& to, const Rect& area,
                         uint8_t alpha) {
    // Pixel centres map onto pixel centres; samples stay inside the source rectangle so that
    // neighbouring parts of a sprite sheet never bleed in.
    double scale_x = double(from.width()) / to.width();
    double scale_y = double(from.height()) / to.height();
    auto sample_axis = [](double position, int low, int high, int& first, int& second,
                          double& weight) {
        position = std::clamp(position, double(low), double(high - 1));
        first = static_cast<int>(std::floor(position));
        second = std::min(first + 1, high - 1);
        weight = position - first;
    };
    for (int y = area.top; y < area.bottom; ++y) {
        int y0 = 0;
        int y1 = 0;
        double wy = 0;
        sample_axis(from.top + (y - to.top + 0.5) * scale_y - 0.5, from.top, from.bottom, y0, y1,
                    wy);
        uint8_t* out = surface_.data() + size_t(y) * surface_.stride();
        for (int x = area.left; x < area.right; ++x) {
            int x0 = 0;
            int x1 = 0;
            double wx = 0;
            sample_axis(from.left + (x - to.left + 0.5) * scale_x - 0.5, from.left, from.right, x0,
                        x1, wx);
            const uint8_t* corners[4] = {
                image.data() + size_t(y0) * image.stride() + size_t(x0) * 4,
                image.data() + size_t(y0) * image.stride() + size_t(x1) * 4,
                image.data() + size_t(y1) * image.stride() + size_t(x0) * 4,
                image.data() + size_t(y1) * image.stride() + size_t(x1) * 4};
            double weights[4] = {(1 - wx) * (1 - wy), wx * (1 - wy), (1 - wx) * wy, wx * wy};
            // Interpolate premultiplied so transparent neighbours do not darken the edges.
            double sum[4] = {0, 0, 0, 0};
            for (int i = 0; i < 4; ++i) {
                double a = corners[i][3] * weights[i];
                sum[0] += corners[i][0] * a;
                sum[1] += corners[i][1] * a;
                sum[2] += corners[i][2] * a;
                sum[3] += a;
            }
            blend_premultiplied(out + size_t(x) * 4, sum, alpha);
        }
    }
}

ClipScope::ClipScope(Canvas& canvas, const Rect& rect) : canvas_(canvas) {
    canvas_.clips_.push_back(canvas_.scale_.to_physical(rect).intersect(canvas_.physical_clip()));
}

ClipScope::~ClipScope() {
    canvas_.clips_.pop_back();
}

}  // namespace talvoro::ui
