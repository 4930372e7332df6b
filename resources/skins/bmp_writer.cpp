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

}  // namespace

std::vector<uint8_t> encode_bmp(const ui::Image& image) {
    const int width = image.width();
    const int height = image.height();
    if (image.empty() || width > ui::kMaxImageSide || height > ui::kMaxImageSide)
        return {};
    const size_t row_bytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t pixel_bytes = row_bytes * static_cast<size_t>(height);
    const size_t file_bytes = kFileHeaderSize + kInfoHeaderSize + pixel_bytes;
    // The header fields are 32-bit.
    if (file_bytes > 0xFFFFFFFFu)
        return {};

    std::vector<uint8_t> out(file_bytes, 0);
    out.at(0) = 'B';
    out.at(1) = 'M';
    put_u32(out, 2, static_cast<uint32_t>(file_bytes));
    put_u32(out, 10, kFileHeaderSize + kInfoHeaderSize);
    put_u32(out, 14, kInfoHeaderSize);
    put_u32(out, 18, static_cast<uint32_t>(width));
    put_u32(out, 22, static_cast<uint32_t>(height));  // positive: rows bottom-up
    put_u16(out, 26, 1);
    put_u16(out, 28, 24);
    put_u32(out, 34, static_cast<uint32_t>(pixel_bytes));
    put_u32(out, 38, 2835);  // 72 dpi
    put_u32(out, 42, 2835);

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
