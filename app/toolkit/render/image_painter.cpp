#include "render/image_painter.h"

namespace talvoro::ui {

bool draw_picture(Canvas& canvas, ImageCache& cache, const ImageDescriptor& image,
                  const Rect& origin) {
    const CachedPicture picture =
        cache.get(image.file, image.mask, canvas.scale().picture_density());
    if (!picture) {
        return false;
    }
    const int density = picture.density;
    const Rect whole{0, 0, picture.image->width() / density, picture.image->height() / density};
    const Rect source = image.source.value_or(whole);
    const Rect dest = image.dest ? image.dest->offset(origin.left, origin.top) : origin;
    canvas.blit(*picture.image,
                Rect{source.left * density, source.top * density, source.right * density,
                     source.bottom * density},
                dest, image.fade);
    return true;
}

bool draw_image(Canvas& canvas, ImageCache& cache, const ImageDescriptor& image,
                const Rect& control) {
    // A destination never spills out of its control.
    ClipScope clip(canvas, control);
    return draw_picture(canvas, cache, image, control);
}

bool draw_image(Canvas& canvas, ImageCache& cache, std::string_view attribute,
                const Rect& control) {
    std::optional<ImageDescriptor> image = parse_image_descriptor(attribute);
    return image && draw_image(canvas, cache, *image, control);
}

}  // namespace talvoro::ui
