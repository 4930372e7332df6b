// Picture attributes as layouts and the program write them:
//   "file='MCBox.bmp' source='455,270,490,318' mask='0xFFFF00FF' "
// or a plain file name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/color.h"
#include "render/rect.h"

namespace talvoro::ui {

struct ImageDescriptor {
    std::string file;
    // Part of the picture to draw; the whole picture when absent.
    std::optional<Rect> source;
    // Where to draw, relative to the control's rectangle; the whole control when absent.
    std::optional<Rect> dest;
    // Pixels of this RGB become transparent.
    std::optional<Color> mask;
    uint8_t fade = 255;

    bool operator==(const ImageDescriptor&) const = default;
};

// Nothing when no file is named. Unknown keys are skipped; malformed values are skipped
// with a debug message.
std::optional<ImageDescriptor> parse_image_descriptor(std::string_view text);

}  // namespace talvoro::ui
