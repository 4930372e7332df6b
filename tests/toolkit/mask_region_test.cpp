#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <cstdio>
#include <vector>

#include "render/image.h"
#include "render/mask_region.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

constexpr Color kWhite{255, 255, 255, 255};
constexpr Color kBlack{255, 0, 0, 0};

Image filled(int width, int height, Color color) {
    Image image = *Image::create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.set_pixel(x, y, color);
        }
    }
    return image;
}

// True when exactly the non-white pixels are covered, each by one rectangle.
void expect_exact_cover(const Image& mask, const std::vector<Rect>& region) {
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            Color c = mask.pixel(x, y);
            bool opaque = !(c.r == 255 && c.g == 255 && c.b == 255);
            int covering = 0;
            for (const Rect& r : region) {
                covering += r.contains(x, y);
            }
            ASSERT_EQ(covering, opaque ? 1 : 0) << x << "," << y;
        }
    }
}

TEST(MaskRegionTest, WhiteHoleMakesAHoleAndRowsMerge) {
    Image mask = filled(10, 8, kBlack);
    for (int y = 3; y < 5; ++y) {
        for (int x = 4; x < 7; ++x) {
            mask.set_pixel(x, y, kWhite);
        }
    }
    std::vector<Rect> region = mask_region(mask);
    expect_exact_cover(mask, region);
    // Above, the two sides of the hole, below: four rectangles, not one per row.
    EXPECT_EQ(region,
              (std::vector<Rect>{{0, 0, 10, 3}, {0, 3, 4, 5}, {7, 3, 10, 5}, {0, 5, 10, 8}}));
}

TEST(MaskRegionTest, OnlyPureWhiteIsTransparent) {
    Image mask = filled(4, 2, kWhite);
    mask.set_pixel(1, 0, Color{255, 255, 255, 254});
    mask.set_pixel(2, 1, Color{0, 254, 255, 255});  // alpha plays no part
    std::vector<Rect> region = mask_region(mask);
    EXPECT_EQ(region, (std::vector<Rect>{{1, 0, 2, 1}, {2, 1, 3, 2}}));
    EXPECT_TRUE(mask_region(filled(5, 5, kWhite)).empty());
    EXPECT_TRUE(mask_region(Image{}).empty());
}

TEST(MaskRegionTest, SurvivesABitmapFileAndIrregularShapes) {
    // A 24-bit mask as drawn in a paint program: the near-white 254 border must stay.
    test::TempFolder folder;
    const int width = 12;
    const int height = 9;
    std::vector<uint8_t> rgb(width * height * 3, 255);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool inside = (x - 6) * (x - 6) + (y - 4) * (y - 4) <= 16;
            bool ring = (x + y) % 5 == 0;
            if (inside || ring) {
                uint8_t* p = &rgb[(y * width + x) * 3];
                p[2] = ring ? 254 : 0;
                p[0] = ring ? 255 : 0;
                p[1] = ring ? 255 : 0;
            }
        }
    }
    ASSERT_TRUE(stbi_write_bmp(folder.file("mask.bmp").c_str(), width, height, 3, rgb.data()));
    std::optional<Image> mask = load_image_file(folder.file("mask.bmp"));
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->pixel(0, 0), (Color{255, 255, 255, 254}));
    std::vector<Rect> region = mask_region(*mask);
    expect_exact_cover(*mask, region);

    // Read as a mask file straight away: the same region, the 254 border included.
    const std::optional<MaskRegion> from_file = load_mask_region(folder.file("mask.bmp"));
    ASSERT_TRUE(from_file);
    EXPECT_EQ(from_file->size, (Size{width, height}));
    EXPECT_EQ(from_file->opaque, region);
}

// A one-bit BMP as the skin maker writes masks: palette entry 0 white, 1 black.
std::vector<uint8_t> one_bit_bmp(int width, int height, const std::vector<bool>& black) {
    const size_t row_bytes = ((size_t(width) + 31) / 32) * 4;
    std::vector<uint8_t> out(62 + row_bytes * size_t(height), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out[at + size_t(i)] = uint8_t(v >> (8 * i));
        }
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, uint32_t(out.size()));
    put32(10, 62);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    out[26] = 1;
    out[28] = 1;
    out[54] = out[55] = out[56] = 255;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (black[size_t(y) * size_t(width) + size_t(x)]) {
                out[62 + row_bytes * size_t(height - 1 - y) + size_t(x) / 8] |=
                    uint8_t(0x80 >> (x % 8));
            }
        }
    }
    return out;
}

void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

TEST(MaskRegionTest, ReadsOneBitMasksAndRefusesBrokenOnes) {
    test::TempFolder folder;
    const int width = 35;  // rows of five bytes, padded to eight
    const int height = 6;
    std::vector<bool> black(size_t(width * height));
    Image expected = filled(width, height, kWhite);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool ink = x > 2 && x < 31 && (y > 0 || x % 4 != 0);
            black[size_t(y * width + x)] = ink;
            if (ink) {
                expected.set_pixel(x, y, kBlack);
            }
        }
    }
    const std::vector<uint8_t> good = one_bit_bmp(width, height, black);
    write_file(folder.file("mask.bmp"), good);
    const std::optional<MaskRegion> region = load_mask_region(folder.file("mask.bmp"));
    ASSERT_TRUE(region);
    EXPECT_EQ(region->size, (Size{width, height}));
    EXPECT_EQ(region->opaque, mask_region(expected));

    // Cut short in its pixels, a pixel offset past the end, a width beyond the limits: no
    // region, and no read outside the file.
    std::vector<uint8_t> cut(good.begin(), good.end() - 9);
    std::vector<uint8_t> far = good;
    far[10] = 0xF0;
    far[11] = 0xFF;
    std::vector<uint8_t> wide = good;
    wide[20] = 0x01;  // 65,571 pixels wide
    std::vector<uint8_t> headers_only(good.begin(), good.begin() + 30);
    for (const auto& broken : {cut, far, wide, headers_only}) {
        write_file(folder.file("broken.bmp"), broken);
        EXPECT_FALSE(load_mask_region(folder.file("broken.bmp"))) << broken.size() << " bytes";
    }
    EXPECT_FALSE(load_mask_region(folder.file("missing.bmp")));
}

}  // namespace
}  // namespace talvoro::ui
