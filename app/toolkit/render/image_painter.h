// Draws a picture attribute ("file='a.bmp' source='...' dest='...'") into a control's rectangle,
// from the picture set that matches the canvas's scale.
#pragma once

#include <string_view>

#include "render/canvas.h"
#include "render/image_cache.h"
#include "render/image_descriptor.h"

namespace talvoro::ui {

// The source part (the whole picture when absent, in 1x pixels as layouts write it) goes to
// `dest` offset by `origin`'s corner, or to the whole of `origin`. False when the picture cannot
// be loaded.
bool draw_picture(Canvas& canvas, ImageCache& cache, const ImageDescriptor& image,
                  const Rect& origin);
// The same, never spilling out of `control`.
bool draw_image(Canvas& canvas, ImageCache& cache, const ImageDescriptor& image,
                const Rect& control);
// Parses the attribute first; false when it names no picture.
bool draw_image(Canvas& canvas, ImageCache& cache, std::string_view attribute, const Rect& control);

}  // namespace talvoro::ui
