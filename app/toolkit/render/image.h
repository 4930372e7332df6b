// RGBA8 pictures (straight alpha) and their loading from PNG, BMP and JPEG files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "render/color.h"
#include "render/rect.h"

namespace talvoro::ui {

// Limits of anything decoded or allocated as a picture. Skins are a few hundred pixels
// across; these keep a hostile file from asking for gigabytes.
inline constexpr int kMaxImageSide = 8192;
inline constexpr size_t kMaxImageBytes = size_t{256} << 20;
inline constexpr size_t kMaxImageFileBytes = size_t{64} << 20;

class Image {
  public:
    Image() = default;
    // Nothing when a side is negative or above kMaxImageSide, or the pixels would not fit
    // kMaxImageBytes. All pixels start transparent black.
    static std::optional<Image> create(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    size_t stride() const { return static_cast<size_t>(width_) * 4; }
    // Rows top to bottom, bytes R, G, B, A.
    uint8_t* data() { return pixels_.data(); }
    const uint8_t* data() const { return pixels_.data(); }

    // Transparent black outside the picture.
    Color pixel(int x, int y) const;
    // Ignored outside the picture.
    void set_pixel(int x, int y, Color color);

    // Pixels whose RGB equals the key's become fully transparent.
    void apply_color_key(Color key);

  private:
    // Leaves the bytes as they come: a decoder overwrites every one of them, and filling
    // megabytes first only costs page faults.
    template <typename T>
    struct UninitializedAllocator : std::allocator<T> {
        template <typename U>
        struct rebind {
            using other = UninitializedAllocator<U>;
        };
        template <typename U>
        void construct(U* p) noexcept {
            ::new (static_cast<void*>(p)) U;
        }
        template <typename U, typename... Args>
        void construct(U* p, Args&&... args) {
            ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
        }
    };

    // Pixels to be written whole by the caller (a decoder).
    static std::optional<Image> create_for_overwrite(int width, int height);
    friend std::optional<Image> decode_image(const uint8_t* bytes, size_t size);

    // One byte a pixel: stb's grey, whose weights add up to 256, so 255 means pure white only.
    struct GreyImage {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> pixels;
    };
    std::optional<GreyImage> decode_grey_image(const uint8_t* bytes, size_t size);

    // The whole file, or nothing when it cannot be read or is larger than kMaxImageFileBytes.
    std::optional<std::vector<uint8_t>> read_image_file(const std::string& path);

    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t, UninitializedAllocator<uint8_t>> pixels_;
};

// Bytes needed for width x height RGBA pixels, nothing on overflow or beyond the limits.
std::optional<size_t> image_byte_size(int width, int height);

std::optional<Image> decode_image(const uint8_t* bytes, size_t size);

// One byte a pixel: stb's grey, whose weights add up to 256, so 255 means pure white only.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};
std::optional<GreyImage> decode_grey_image(const uint8_t* bytes, size_t size);

// The whole file, or nothing when it cannot be read or is larger than kMaxImageFileBytes.
std::optional<std::vector<uint8_t>> read_image_file(const std::string& path);
std::optional<Image> load_image_file(const std::string& path);

}  // namespace talvoro::ui
