#include "bmp_writer.h"

#include <cstdio>
#include <memory>

namespace talvoro::skins {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

void put_u16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    out.at(at) = static_cast<uint8_t>(value);
    out.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

void put_u32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    put_u16(out, at, value & 0xFFFF);
    put_u16(out, at + 2, value >> 16);
}

bool is_white(const ui::Color& c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}

bool is_black(const ui::Color& c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}

// Pure black and pure white only, as a window mask is.
bool two_colours(const ui::Image& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const ui::Color c = image.pixel(x, y);
            if (!is_white(c) && !is_black(c))
                return false;
        }
    }
    return true;
}

// Headers for `bits` per pixel with `palette` colours; the pixel bytes stay zero.
std::vector<uint8_t> bmp_frame(int width, int height, int bits, size_t palette, size_t row_bytes) {
    const size_t pixel_bytes = row_bytes * static_cast<size_t>(height);
    const size_t offset = kFileHeaderSize + kInfoHeaderSize + palette * 4;
    const size_t file_bytes = offset + pixel_bytes;
    // The header fields are 32-bit.
    if (file_bytes > 0xFFFFFFFFu)
        return {};
    std::vector<uint8_t> out(file_bytes, 0);
    out.at(0) = 'B';
    out.at(1) = 'M';
    put_u32(out, 2, static_cast<uint32_t>(file_bytes));
    put_u32(out, 10, static_cast<uint32_t>(offset));
    put_u32(out, 14, kInfoHeaderSize);
    put_u32(out, 18, static_cast<uint32_t>(width));
    put_u32(out, 22, static_cast<uint32_t>(height));  // positive: rows bottom-up
    put_u16(out, 26, 1);
    put_u16(out, 28, static_cast<uint32_t>(bits));
    put_u32(out, 34, static_cast<uint32_t>(pixel_bytes));
    put_u32(out, 38, 2835);  // 72 dpi
    put_u32(out, 42, 2835);
    put_u32(out, 46, static_cast<uint32_t>(palette));
    return out;
}

// One bit a pixel, palette white then black: a full-window mask in 90 KB rather than 2 MB,
// which the program reads at every start.
std::vector<uint8_t> encode_two_colour_bmp(const ui::Image& image) {
    const int width = image.width();
    const int height = image.height();
    const size_t row_bytes = ((static_cast<size_t>(width) + 31) / 32) * 4;
    std::vector<uint8_t> out = bmp_frame(width, height, 1, 2, row_bytes);
    if (out.empty())
        return out;
    const size_t palette = kFileHeaderSize + kInfoHeaderSize;
    out.at(palette) = out.at(palette + 1) = out.at(palette + 2) = 255;  // entry 0: white
    const size_t pixels = palette + 8;
    for (int y = 0; y < height; ++y) {
        const size_t row = pixels + row_bytes * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            if (!is_white(image.pixel(x, y)))
                out.at(row + static_cast<size_t>(x) / 8) |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return out;
}

}  // namespace

std::vector<uint8_t> encode_bmp(const ui::Image& image) {
    const int width = image.width();
    const int height = image.height();
    if (image.empty() || width > ui::kMaxImageSide || height > ui::kMaxImageSide)
        return {};
    if (two_colours(image))
        return encode_two_colour_bmp(image);
    const size_t row_bytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> out = bmp_frame(width, height, 24, 0, row_bytes);
    if (out.empty())
        return out;

    for (int y = 0; y < height; ++y) {
        size_t at =
            kFileHeaderSize + kInfoHeaderSize + row_bytes * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const ui::Color c = image.pixel(x, y);
            out.at(at++) = c.b;
            out.at(at++) = c.g;
            out.at(at++) = c.r;
        }
    }
    return out;
}

bool write_bmp(const ui::Image& image, const std::string& path) {
    const std::vector<uint8_t> bytes = encode_bmp(image);
    if (bytes.empty())
        return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return false;
    return std::fflush(file.get()) == 0;
}

}  // namespace talvoro::skins
