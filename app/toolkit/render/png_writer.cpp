#include "render/png_writer.h"

#include <climits>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace talvoro::ui {

bool write_png(const Image& image, const std::string& path) {
    if (image.empty() || image.stride() > INT_MAX) {
        return false;
    }
    return stbi_write_png(path.c_str(), image.width(), image.height(), 4, image.data(),
                          static_cast<int>(image.stride())) != 0;
}

std::vector<uint8_t> encode_png(const Image& image) {
    if (image.empty() || image.stride() > INT_MAX) {
        return {};
    }
    int length = 0;
    unsigned char* bytes = stbi_write_png_to_mem(image.data(), static_cast<int>(image.stride()),
                                                 image.width(), image.height(), 4, &length);
    if (bytes == nullptr) {
        return {};
    }
    std::vector<uint8_t> file(bytes, bytes + length);
    STBIW_FREE(bytes);
    return file;
}

std::optional<Image> read_png(const std::string& path) {
    return load_image_file(path);
}

}  // namespace talvoro::ui
