#include <gtest/gtest.h>

#include <climits>

#include "render/canvas.h"

namespace talvoro::ui {
namespace {

constexpr Color kRed{255, 255, 0, 0};
constexpr Color kBlue{255, 0, 0, 255};
constexpr Color kWhite{255, 255, 255, 255};

// Every pixel outside `inside` still has `expected`.
void expect_untouched_outside(const Canvas& canvas, const Rect& inside, Color expected) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (!inside.contains(x, y)) {
                ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

// A 4x4 picture whose pixel (x, y) is (x*10, y*10, 100, 255).
Image gradient(int width, int height) {
    Image image = *Image::create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.set_pixel(x, y, Color{255, uint8_t(x * 10), uint8_t(y * 10), 100});
        }
    }
    return image;
}

TEST(CanvasTest, RefusesSizesBeyondTheLimits) {
    Canvas canvas;
    EXPECT_FALSE(canvas.resize(-1, 10));
    EXPECT_FALSE(canvas.resize(INT_MAX, INT_MAX));
    EXPECT_FALSE(canvas.resize(kMaxImageSide + 1, 1));
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_TRUE(canvas.resize(3, 2));
    EXPECT_EQ(canvas.image().stride(), 12u);
}

TEST(CanvasTest, BlendsSourceOverWithStraightAlpha) {
    Canvas canvas(2, 1);
    canvas.clear(kWhite);
    canvas.fill_rect(Rect{0, 0, 1, 1}, Color{128, 0, 0, 0});
    Color half = canvas.pixel(0, 0);
    EXPECT_EQ(half.a, 255);
    EXPECT_NEAR(half.r, 127, 1);
    // Onto transparent, a translucent colour keeps its own RGB.
    canvas.clear(Rect{1, 0, 2, 1}, Color{});
    canvas.fill_rect(Rect{1, 0, 2, 1}, Color{100, 10, 20, 30});
    EXPECT_EQ(canvas.pixel(1, 0), (Color{100, 10, 20, 30}));
    // A fully transparent fill changes nothing.
    canvas.fill_rect(canvas.bounds(), Color{0, 1, 2, 3});
    EXPECT_EQ(canvas.pixel(1, 0), (Color{100, 10, 20, 30}));
}

TEST(CanvasTest, ClipScopesCutEveryDrawing) {
    Canvas canvas(20, 20);
    canvas.clear(kWhite);
    Rect clip{5, 5, 12, 12};
    {
        ClipScope scope(canvas, clip);
        canvas.fill_rect(Rect{-100, -100, 100, 100}, kRed);
        canvas.draw_border(Rect{0, 0, 20, 20}, kBlue, 7);
        canvas.draw_line(Point{-50, -50}, Point{50, 50}, kBlue, 3);
        canvas.draw_line(Point{INT_MIN, 8}, Point{INT_MAX, 8}, kBlue, INT_MAX);
        canvas.blend_pixel(0, 0, kBlue);
        Image picture = gradient(20, 20);
        canvas.blit(picture, picture.bounds(), Rect{-3, -3, 40, 40});
        {
            ClipScope inner(canvas, Rect{0, 0, 7, 7});
            EXPECT_EQ(canvas.physical_clip(), (Rect{5, 5, 7, 7}));  // nested clips only narrow
        }
        EXPECT_EQ(canvas.physical_clip(), clip);
    }
    EXPECT_EQ(canvas.physical_clip(), canvas.bounds());
    expect_untouched_outside(canvas, clip, kWhite);
    EXPECT_NE(canvas.pixel(5, 5), kWhite);
    EXPECT_NE(canvas.pixel(11, 11), kWhite);
}

TEST(CanvasTest, BorderIsAFrameOfTheGivenSize) {
    Canvas canvas(10, 10);
    canvas.draw_border(Rect{1, 1, 9, 9}, Color{128, 255, 0, 0}, 2);
    EXPECT_EQ(canvas.pixel(1, 1).a, 128);  // corners blended once, not twice
    EXPECT_EQ(canvas.pixel(2, 5).a, 128);
    EXPECT_EQ(canvas.pixel(8, 8).a, 128);
    EXPECT_EQ(canvas.pixel(3, 3).a, 0);  // the inside stays empty
    EXPECT_EQ(canvas.pixel(0, 0).a, 0);
    expect_untouched_outside(canvas, Rect{1, 1, 9, 9}, Color{});
}

TEST(CanvasTest, LinesIncludeBothEnds) {
    Canvas canvas(10, 10);
    canvas.draw_line(Point{1, 1}, Point{8, 8}, kRed);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(canvas.pixel(i, i), kRed) << i;
    }
    EXPECT_EQ(canvas.pixel(0, 0), Color{});
    EXPECT_EQ(canvas.pixel(9, 9), Color{});
    EXPECT_EQ(canvas.pixel(2, 1), Color{});
    canvas.draw_line(Point{8, 0}, Point{2, 0}, kBlue, 2);
    EXPECT_EQ(canvas.pixel(2, 1), kBlue);
    EXPECT_EQ(canvas.pixel(8, 0), kBlue);
    EXPECT_EQ(canvas.pixel(9, 0), Color{});
    // Far-away ends are cut to the canvas but still pass through it.
    Canvas far(10, 10);
    far.draw_line(Point{-1000000000, -1000000000}, Point{1000000000, 1000000000}, kRed);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(far.pixel(i, i), kRed) << i;
    }
    EXPECT_EQ(far.pixel(1, 0), Color{});
}

TEST(CanvasTest, UnscaledBlitCopiesTheSourceRectangle) {
    Image picture = gradient(8, 8);
    Canvas canvas(10, 10);
    canvas.blit(picture, Rect{2, 3, 5, 7}, Rect{6, 1, 9, 5});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(canvas.pixel(6 + x, 1 + y), picture.pixel(2 + x, 3 + y)) << x << "," << y;
        }
    }
    expect_untouched_outside(canvas, Rect{6, 1, 9, 5}, Color{});
}

TEST(CanvasTest, ScaledBlitStretchesOnlyTheSourceRectangle) {
    // Left half red, right half blue: drawing only the red half must never show blue.
    Image picture = *Image::create(4, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            picture.set_pixel(x, y, x < 2 ? kRed : kBlue);
        }
    }
    Canvas canvas(12, 12);
    canvas.blit(picture, Rect{0, 0, 2, 2}, Rect{1, 1, 11, 11});
    for (int y = 1; y < 11; ++y) {
        for (int x = 1; x < 11; ++x) {
            ASSERT_EQ(canvas.pixel(x, y), kRed) << x << "," << y;
        }
    }
    expect_untouched_outside(canvas, Rect{1, 1, 11, 11}, Color{});

    // A 2x enlargement of a gradient keeps its ends and interpolates between them.
    Image ramp = gradient(4, 1);
    Canvas wide(8, 1);
    wide.blit(ramp, ramp.bounds(), wide.bounds());
    EXPECT_EQ(wide.pixel(0, 0).r, 0);
    EXPECT_EQ(wide.pixel(7, 0).r, 30);
    for (int x = 1; x < 8; ++x) {
        EXPECT_GE(wide.pixel(x, 0).r, wide.pixel(x - 1, 0).r);
    }
    EXPECT_GT(wide.pixel(2, 0).r, 0);
    EXPECT_LT(wide.pixel(2, 0).r, 20);
}

TEST(CanvasTest, BlitCutsSourcesOutsideThePictureAndFades) {
    Image picture = gradient(4, 4);
    Canvas canvas(4, 4);
    canvas.blit(picture, Rect{10, 10, 20, 20}, canvas.bounds());  // nowhere in the picture
    canvas.blit(picture, picture.bounds(), Rect{2, 2, 2, 9});     // empty destination
    expect_untouched_outside(canvas, Rect{}, Color{});
    canvas.blit(picture, picture.bounds(), canvas.bounds(), 128);
    EXPECT_EQ(canvas.pixel(1, 2).a, 128);
    EXPECT_EQ(canvas.pixel(1, 2).r, 10);
}

// Logical drawing at 125 to 300 %: neighbours share an edge with no gap or overlap, a hairline
// frame is one physical pixel, a thicker one scales, and a picture of the next larger set shrinks
// by averaging, not by sampling (at 125 and 150 % a one-pixel checkerboard comes out as grey,
// never the near-black and near-white that sampling would leave).
TEST(CanvasScaleTest, LogicalDrawingLandsOnWholePhysicalPixels) {
    Image checker = *Image::create(40, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            checker.set_pixel(x, y, (x + y) % 2 == 0 ? kWhite : Color{255, 0, 0, 0});
        }
    }
    for (const int percent : {125, 150, 175, 200, 300}) {
        const DisplayScale scale = *DisplayScale::from_percent(percent);
        Canvas canvas(21, 13, scale);
        ASSERT_EQ(canvas.image().width(), scale.to_physical(21)) << percent;
        ASSERT_EQ(canvas.image().height(), scale.to_physical(13)) << percent;
        canvas.fill_rect(Rect{0, 0, 7, 13}, kRed);
        canvas.fill_rect(Rect{7, 0, 21, 13}, kBlue);
        for (int y = 0; y < canvas.image().height(); ++y) {
            for (int x = 0; x < canvas.image().width(); ++x) {
                const Color c = canvas.pixel(x, y);
                ASSERT_TRUE(c == kRed || c == kBlue) << percent << "% at " << x << "," << y;
            }
        }
        canvas.draw_border(canvas.bounds(), kWhite, 1);
        EXPECT_EQ(canvas.pixel(5, 0), kWhite) << percent;
        EXPECT_NE(canvas.pixel(5, 1), kWhite) << percent << "% hairline is one pixel";
        canvas.draw_border(canvas.bounds(), kWhite, 3);
        const int band = scale.to_physical(3);
        const int middle = canvas.image().height() / 2;
        EXPECT_EQ(canvas.pixel(band - 1, middle), kWhite) << percent;
        EXPECT_NE(canvas.pixel(band, middle), kWhite) << percent;

        Canvas shrunk(20, 20, scale);
        shrunk.blit(checker, checker.bounds(), Rect{0, 0, 20, 20});
        for (int y = 0; y < shrunk.image().height(); ++y) {
            for (int x = 0; x < shrunk.image().width(); ++x) {
                const Color c = shrunk.pixel(x, y);
                if (percent == 200) {
                    ASSERT_EQ(c, checker.pixel(x, y)) << "the 2x set is copied at 200 %";
                } else if (percent <= 150) {
                    ASSERT_TRUE(c.r >= 90 && c.r <= 165)
                        << percent << "% at " << x << "," << y << ": " << int(c.r);
                }
            }
        }
    }
}

}  // namespace
}  // namespace talvoro::ui
