// The opaque area of a window with rounded corners, as rows of rectangles for
// CWindowWnd::set_shape.
#pragma once

#include <vector>

#include "render/rect.h"

namespace talvoro::shell {

// A rectangle of `size` whose corners are quarters of an ellipse of `corner` (width, height). A
// corner pixel stays when more than half of it lies inside the ellipse. An empty corner gives
// the plain rectangle; an empty size gives nothing.
std::vector<ui::Rect> rounded_rect_shape(ui::Size size, ui::Size corner);

}  // namespace talvoro::shell
