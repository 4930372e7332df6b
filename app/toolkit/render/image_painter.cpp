#include "render/image_painter.h"

namespace talvoro::ui {

bool draw_image(Canvas& canvas, ImageCache& cache, const ImageDescriptor& image,
                const Rect& control) {
    std::shared_ptr<const Image> picture = cache.get(image.file, image.mask);
    if (!picture) {
        return false;
    }
    Rect source = image.source.value_or(picture->bounds());
    Rect dest = image.dest ? image.dest->offset(control.left, control.top) : control;
    // A destination never spills out of its control.
    ClipScope clip(canvas, control);
    canvas.blit(*picture, source, dest, image.fade);
    return true;
}

bool draw_image(Canvas& canvas, ImageCache& cache, std::string_view attribute,
                const Rect& control) {
    std::optional<ImageDescriptor> image = parse_image_descriptor(attribute);
    return image && draw_image(canvas, cache, *image, control);
}

}  // namespace talvoro::ui
