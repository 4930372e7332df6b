// The picture loader on any file a skin folder may hold (it decodes PNG, BMP and JPEG), with the
// uses the program makes of a picture: the colour key, and the window shape computed from the
// mask. Beyond no crash: a decoded picture stays inside the loader's
// stated limits and holds exactly its pixels, and the shape's rectangles lie inside the picture.
#include "fuzz_support.h"
#include "render/image.h"
#include "render/mask_region.h"

namespace {

void check_inside(const std::vector<talvoro::ui::Rect>& rects, talvoro::ui::Size size) {
    for (const talvoro::ui::Rect& rect : rects) {
        FUZZ_CHECK(rect.left >= 0 && rect.top >= 0 && rect.left < rect.right &&
                   rect.top < rect.bottom && rect.right <= size.width &&
                   rect.bottom <= size.height);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro::ui;
    if (std::optional<Image> picture = decode_image(data, size)) {
        FUZZ_CHECK(picture->width() > 0 && picture->height() > 0);
        FUZZ_CHECK(picture->width() <= kMaxImageSide && picture->height() <= kMaxImageSide);
        const size_t bytes = picture->stride() * static_cast<size_t>(picture->height());
        FUZZ_CHECK(bytes <= kMaxImageBytes);
        // The last pixel is the picture's: AddressSanitizer would stop a buffer cut short.
        FUZZ_CHECK(picture->pixel(picture->width() - 1, picture->height() - 1).a ==
                   picture->data()[bytes - 1]);
        check_inside(mask_region(*picture), Size{picture->width(), picture->height()});
        picture->apply_color_key(Color{255, 255, 0, 255});
    }
    // The window's shape, from the mask file the way start-up reads it.
    const std::string path = talvoro::fuzz::write_scratch_file("Background_mask.bmp", data, size);
    if (std::optional<MaskRegion> shape = load_mask_region(path)) {
        FUZZ_CHECK(shape->size.width > 0 && shape->size.width <= kMaxImageSide);
        FUZZ_CHECK(shape->size.height > 0 && shape->size.height <= kMaxImageSide);
        check_inside(shape->opaque, shape->size);
    }
    return 0;
}
