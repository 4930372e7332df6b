#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

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
}

}  // namespace
}  // namespace talvoro::ui
