// Integer rectangles as layouts write them ("l,t,r,b"); right and bottom are exclusive.
#pragma once

#include <optional>
#include <string_view>

namespace talvoro::ui {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Never negative; saturates instead of overflowing on extreme corners.
    int width() const;
    int height() const;
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool contains(Point p) const { return contains(p.x, p.y); }
    // Empty result when they do not overlap.
    Rect intersect(const Rect& other) const;
    // Smallest rectangle holding both; an empty side does not count.
    Rect unite(const Rect& other) const;
    // Saturating move.
    Rect offset(int dx, int dy) const;
    // Shrinks by the four sides of `insets` (a padding written as a rectangle).
    Rect deflate(const Rect& insets) const;

    bool operator==(const Rect&) const = default;
};

// "l,t,r,b" with optional blanks around the numbers; anything else gives nothing.
std::optional<Rect> parse_rect(std::string_view text);

}  // namespace talvoro::ui
