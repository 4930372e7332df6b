// The opaque area of a shaped window, from its mask bitmap.
#pragma once

#include <vector>

#include "render/image.h"
#include "render/rect.h"

namespace talvoro::ui {

// Rectangles covering every pixel that is not pure white (255,255,255); alpha is ignored.
// Runs of each row, with equal runs of consecutive rows merged into taller rectangles.
// Sorted by top, then left.
std::vector<Rect> mask_region(const Image& mask);

}  // namespace talvoro::ui
