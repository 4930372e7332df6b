// The opaque area of a shaped window, from its mask bitmap.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/image.h"
#include "render/rect.h"

namespace talvoro::ui {

// Rectangles covering every pixel that is not pure white (255,255,255); alpha is ignored.
// Runs of each row, with equal runs of consecutive rows merged into taller rectangles.
// Sorted by top, then left.
std::vector<Rect> mask_region(const Image& mask);

struct MaskRegion {
    Size size;
    std::vector<Rect> opaque;
    // The mask's pixels per logical pixel.
    int density = 1;
};
// The same from a mask bitmap file, read as grey: only pure white comes out as 255 there, and
// a quarter of the memory of colour is touched. Nothing when the file does not load.
std::optional<MaskRegion> load_mask_region(const std::string& path);
// The mask drawn at `density` ("Name@2x.png" beside "Name.bmp") where there is one, else the 1x
// mask.
std::optional<MaskRegion> load_mask_region(const std::string& path, int density);

}  // namespace talvoro::ui
