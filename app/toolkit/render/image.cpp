#include "render/image.h"

#include <cstdio>
#include <cstring>

#include "render/debug_log.h"
#include "render/image_file_checks.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 8192
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
// The decoder copies zero bytes to a null buffer when a PNG's first data chunk is empty, which C
// leaves undefined even for zero bytes: its copies go through one that does nothing for none.
namespace {
void* stb_copy(void* to, const void* from, size_t size) {
    return size == 0 ? to : std::memcpy(to, from, size);
}
}  // namespace
#define memcpy stb_copy
#include <stb/stb_image.h>
#undef memcpy
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace talvoro::ui {

static_assert(kMaxImageSide == STBI_MAX_DIMENSIONS);

std::optional<size_t> image_byte_size(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return std::nullopt;
    }
    size_t pixels = 0;
    size_t bytes = 0;
    if (__builtin_mul_overflow(static_cast<size_t>(width), static_cast<size_t>(height), &pixels) ||
        __builtin_mul_overflow(pixels, size_t{4}, &bytes) || bytes > kMaxImageBytes) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<Image> Image::create(int width, int height) {
    std::optional<size_t> bytes = image_byte_size(width, height);
    if (!bytes) {
        return std::nullopt;
    }
    Image image;
    image.width_ = width;
    image.height_ = height;
    image.pixels_.assign(*bytes, 0);
    return image;
}

std::optional<Image> Image::create_for_overwrite(int width, int height) {
    std::optional<size_t> bytes = image_byte_size(width, height);
    if (!bytes) {
        return std::nullopt;
    }
    Image image;
    image.width_ = width;
    image.height_ = height;
    image.pixels_.resize(*bytes);
    return image;
}

Color Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return Color{};
    }
    const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    return Color{p[3], p[0], p[1], p[2]};
}

void Image::set_pixel(int x, int y, Color color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
    p[3] = color.a;
}

void Image::apply_color_key(Color key) {
    for (size_t i = 0; i + 3 < pixels_.size(); i += 4) {
        if (pixels_[i] == key.r && pixels_[i + 1] == key.g && pixels_[i + 2] == key.b) {
            std::memset(&pixels_[i], 0, 4);
        }
    }
}

namespace {

struct StbPixels {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};
using DecodedPixels = std::unique_ptr<unsigned char, StbPixels>;

// The pixels with `channels` bytes each, or null; the header's size is checked against the
// limits before stb allocates anything for them.
DecodedPixels decode_pixels(const uint8_t* bytes, size_t size, int channels, int& width,
                            int& height) {
    if (bytes == nullptr || size == 0 || size > kMaxImageFileBytes) {
        return nullptr;
    }
    if (!fit_for_decoder(bytes, size)) {
        debug_log("image: a PNG chunk runs past the file's end, or a JPEG table is too long");
        return nullptr;
    }
    const int length = static_cast<int>(size);
    int file_channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &file_channels) ||
        !image_byte_size(width, height) || width == 0 || height == 0) {
        debug_log("image: unreadable header or size beyond the limits");
        return nullptr;
    }
    DecodedPixels decoded(
        stbi_load_from_memory(bytes, length, &width, &height, &file_channels, channels));
    if (decoded == nullptr) {
        debug_log(std::string("image: ") + stbi_failure_reason());
    }
    return decoded;
}

}  // namespace

std::optional<Image> decode_image(const uint8_t* bytes, size_t size) {
    int width = 0;
    int height = 0;
    const DecodedPixels decoded = decode_pixels(bytes, size, 4, width, height);
    if (decoded == nullptr) {
        return std::nullopt;
    }
    std::optional<Image> image = Image::create_for_overwrite(width, height);
    if (image) {
        std::memcpy(image->data(), decoded.get(), *image_byte_size(width, height));
    }
    return image;
}

std::optional<std::vector<uint8_t>> read_image_file(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        debug_log("image: cannot open " + path);
        return std::nullopt;
    }
    // One read into a buffer of the file's size: growing it chunk by chunk copies it again
    // and again.
    std::vector<uint8_t> bytes;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > static_cast<long>(kMaxImageFileBytes)) {
            std::fclose(file);
            debug_log("image: file too large " + path);
            return std::nullopt;
        }
        if (size > 0) {
            bytes.reserve(static_cast<size_t>(size));
        }
        std::rewind(file);
    }
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes.size() + got > kMaxImageFileBytes) {
            std::fclose(file);
            debug_log("image: file too large " + path);
            return std::nullopt;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return bytes;
}

std::optional<Image> load_image_file(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = read_image_file(path);
    if (!bytes) {
        return std::nullopt;
    }
    std::optional<Image> image = decode_image(bytes->data(), bytes->size());
    if (!image) {
        debug_log("image: cannot decode " + path);
    }
    return image;
}

std::optional<GreyImage> decode_grey_image(const uint8_t* bytes, size_t size) {
    int width = 0;
    int height = 0;
    const DecodedPixels decoded = decode_pixels(bytes, size, 1, width, height);
    if (decoded == nullptr) {
        return std::nullopt;
    }
    GreyImage grey{width, height, {}};
    grey.pixels.assign(decoded.get(), decoded.get() + size_t(width) * size_t(height));
    return grey;
}

}  // namespace talvoro::ui
