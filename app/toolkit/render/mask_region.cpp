#include "render/mask_region.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "render/image_cache.h"

namespace talvoro::ui {

namespace {

// Pixels of `channels` bytes; a pixel is a hole when its first three bytes (its only byte, for
// grey) are 255.
std::vector<Rect> region_of(const uint8_t* pixels, int width, int height, int channels) {
    const size_t stride = size_t(width) * size_t(channels);
    const int checked = std::min(channels, 3);
    std::vector<Rect> done;
    // Rectangles reaching the previous row, sorted by left; a run of the current row with
    // the same left and right extends one of them.
    std::vector<Rect> open;
    std::vector<Rect> next;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + size_t(y) * stride;
        next.clear();
        size_t candidate = 0;
        int x = 0;
        while (x < width) {
            auto white = [&](int at) {
                const uint8_t* p = row + size_t(at) * size_t(channels);
                for (int c = 0; c < checked; ++c) {
                    if (p[c] != 255) {
                        return false;
                    }
                }
                return true;
            };
            while (x < width && white(x)) {
                ++x;
            }
            if (x == width) {
                break;
            }
            int start = x;
            while (x < width && !white(x)) {
                ++x;
            }
            while (candidate < open.size() && open[candidate].left < start) {
                done.push_back(open[candidate++]);
            }
            if (candidate < open.size() && open[candidate].left == start &&
                open[candidate].right == x) {
                Rect grown = open[candidate++];
                grown.bottom = y + 1;
                next.push_back(grown);
            } else {
                next.push_back(Rect{start, y, x, y + 1});
            }
        }
        done.insert(done.end(), open.begin() + static_cast<long>(candidate), open.end());
        open.swap(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    std::sort(done.begin(), done.end(), [](const Rect& a, const Rect& b) {
        return std::tie(a.top, a.left) < std::tie(b.top, b.left);
    });
    return done;
}

uint32_t read_u32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

uint16_t read_u16(const std::vector<uint8_t>& bytes, size_t at) {
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

constexpr size_t kBmpHeaders = 14 + 40;

// Whether the file says it is a BMP of one bit a pixel, or a BMP too short to say anything:
// the reader below takes those, and nothing else does.
bool claims_two_colour_bmp(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    return bytes.size() < kBmpHeaders + 8 || read_u16(bytes, 28) == 1;
}

// An uncompressed BMP of one bit a pixel, as the skin maker writes masks: its rows expanded to
// one byte a pixel, 255 where the palette entry is pure white. Nothing for a file that breaks
// the form. Every offset is checked against the file's length first.
std::optional<GreyImage> read_two_colour_bmp(const std::vector<uint8_t>& bytes) {
    const size_t length = bytes.size();
    if (length < kBmpHeaders + 8) {
        return std::nullopt;
    }
    const uint32_t pixel_offset = read_u32(bytes, 10);
    const uint32_t info_size = read_u32(bytes, 14);
    const int32_t width = static_cast<int32_t>(read_u32(bytes, 18));
    const int32_t stored_height = static_cast<int32_t>(read_u32(bytes, 22));
    const uint16_t bits = read_u16(bytes, 28);
    const uint32_t compression = read_u32(bytes, 30);
    if (info_size < 40 || bits != 1 || compression != 0 || width <= 0 || stored_height == 0 ||
        stored_height == INT32_MIN) {
        return std::nullopt;
    }
    const int height = std::abs(stored_height);
    if (width > kMaxImageSide || height > kMaxImageSide) {
        return std::nullopt;
    }
    const size_t palette = 14 + size_t(info_size);
    if (palette + 8 > length) {
        return std::nullopt;
    }
    auto white = [&](size_t entry) {
        const size_t at = palette + entry * 4;
        return bytes[at] == 255 && bytes[at + 1] == 255 && bytes[at + 2] == 255;
    };
    const uint8_t ink[2] = {uint8_t(white(0) ? 255 : 0), uint8_t(white(1) ? 255 : 0)};
    const size_t row_bytes = ((size_t(width) + 31) / 32) * 4;
    if (pixel_offset > length || row_bytes * size_t(height) > length - pixel_offset) {
        return std::nullopt;
    }
    GreyImage grey{width, height, std::vector<uint8_t>(size_t(width) * size_t(height))};
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const int stored_row = stored_height > 0 ? height - 1 - y : y;
        const uint8_t* row = bytes.data() + pixel_offset + row_bytes * size_t(stored_row);
        uint8_t* out = grey.pixels.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            out[x] = ink[(row[x / 8] >> (7 - x % 8)) & 1];
        }
    }
    return grey;
}

}  // namespace

std::vector<Rect> mask_region(const Image& mask) {
    return region_of(mask.data(), mask.width(), mask.height(), 4);
}

std::optional<MaskRegion> load_mask_region(const std::string& path) {
    const std::optional<std::vector<uint8_t>> bytes = read_image_file(path);
    if (!bytes) {
        return std::nullopt;
    }
    const std::optional<GreyImage> grey = claims_two_colour_bmp(*bytes)
                                              ? read_two_colour_bmp(*bytes)
                                              : decode_grey_image(bytes->data(), bytes->size());
    if (!grey) {
        return std::nullopt;
    }
    return MaskRegion{Size{grey->width, grey->height},
                      region_of(grey->pixels.data(), grey->width, grey->height, 1)};
}

std::optional<MaskRegion> load_mask_region(const std::string& path, int density) {
    if (density > 1) {
        if (std::optional<MaskRegion> finer =
                load_mask_region(picture_file_at_density(path, density))) {
            finer->density = density;
            return finer;
        }
    }
    return load_mask_region(path);
}

}  // namespace talvoro::ui
