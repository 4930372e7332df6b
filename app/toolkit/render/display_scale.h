// The scale from the layouts' logical pixels to a display's physical ones: a whole number of
// quarter steps from 100 % to 300 %. Edges are scaled one by one, halves rounded up, so
// rectangles that touch in logical pixels touch on the display too, with no gap or overlap.
#pragma once

#include <optional>

#include "render/rect.h"

namespace talvoro::ui {

class DisplayScale {
  public:
    static constexpr int kSmallestPercent = 100;
    static constexpr int kLargestPercent = 300;
    static constexpr int kStepPercent = 25;

    constexpr DisplayScale() = default;
    // The step nearest to `factor` (1.0 is 100 %), halves up, kept within 100 % and 300 %;
    // nothing for a factor that is not a positive finite number.
    static std::optional<DisplayScale> nearest(double factor);

    // The scale at exactly `percent`; nothing unless it is one of the steps.
    static std::optional<DisplayScale> from_percent(int percent);

    int percent() const { return percent_; }
    double factor() const { return percent_ / 100.0; }
    bool identity() const { return percent_ == kSmallestPercent; }
    // The picture set drawn for this scale or the next larger one: 1 at 100 %, else 2.
    int picture_density() const { return identity() ? 1 : 2; }

    int to_physical(int logical) const;
    Point to_physical(Point logical) const;
    Size to_physical(Size logical) const;
    Rect to_physical(const Rect& logical) const;
    // A rectangle measured in pixels of a picture drawn `density` times the logical size.
    Rect to_physical(const Rect& picture, int density) const;
    // The logical pixel that holds physical pixel `physical`.
    int to_logical(int physical) const;
    Point to_logical(Point physical) const;
    // The thickness of a line drawn `logical` pixels thick: a hairline stays one physical pixel,
    // so that it stays sharp at 125, 150 and 175 %; thicker lines scale with their edges.
    int line_thickness(int logical) const;

    bool operator==(const DisplayScale&) const = default;

  private:
    explicit constexpr DisplayScale(int percent) : percent_(percent) {}

    int percent_ = kSmallestPercent;
};

}  // namespace talvoro::ui
