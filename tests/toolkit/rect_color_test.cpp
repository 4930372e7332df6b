#include <gtest/gtest.h>

#include <climits>

#include "render/color.h"
#include "render/rect.h"

namespace talvoro::ui {
namespace {

TEST(RectTest, ParsesLayoutRectangles) {
    EXPECT_EQ(parse_rect("455,270,490,318"), (Rect{455, 270, 490, 318}));
    EXPECT_EQ(parse_rect(" 291, 69 ,0,0 "), (Rect{291, 69, 0, 0}));
    EXPECT_EQ(parse_rect("-5,-6,7,8"), (Rect{-5, -6, 7, 8}));
}

TEST(RectTest, RejectsMalformedRectangles) {
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "1,,3,4", "a,2,3,4", "1,2,3,4x", "1.5,2,3,4",
                            "99999999999,0,0,0", "1 2,3,4,5", ",,,"}) {
        EXPECT_FALSE(parse_rect(bad).has_value()) << bad;
    }
}

TEST(RectTest, GeometryOperations) {
    Rect a{0, 0, 10, 10};
    Rect b{5, 5, 20, 8};
    EXPECT_EQ(a.intersect(b), (Rect{5, 5, 10, 8}));
    EXPECT_TRUE(a.intersect(Rect{10, 0, 20, 10}).empty());  // touching edges do not overlap
    EXPECT_EQ(a.unite(b), (Rect{0, 0, 20, 10}));
    EXPECT_EQ(a.unite(Rect{}), a);
    EXPECT_EQ(Rect{}.unite(b), b);
    EXPECT_EQ(a.offset(3, -2), (Rect{3, -2, 13, 8}));
    EXPECT_TRUE(a.contains(0, 0));
    EXPECT_TRUE(a.contains(9, 9));
    EXPECT_FALSE(a.contains(10, 9));
    EXPECT_FALSE(a.contains(Point{-1, 5}));
    EXPECT_EQ((Rect{5, 5, 1, 1}).width(), 0);
    EXPECT_EQ(a.deflate(Rect{1, 2, 3, 4}), (Rect{1, 2, 7, 6}));
}

TEST(RectTest, ExtremeCornersDoNotOverflow) {
    Rect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_EQ(huge.width(), INT_MAX);
    EXPECT_EQ(huge.offset(INT_MAX, INT_MAX).right, INT_MAX);
    EXPECT_EQ(huge.offset(INT_MIN, 0).left, INT_MIN);
}

TEST(ColorTest, ParsesTheThreeForms) {
    EXPECT_EQ(parse_color("#FF102030"), (Color{0xFF, 0x10, 0x20, 0x30}));
    EXPECT_EQ(parse_color("#102030"), (Color{0xFF, 0x10, 0x20, 0x30}));
    EXPECT_EQ(parse_color("0xFFFF00FF"), (Color{0xFF, 0xFF, 0x00, 0xFF}));
    EXPECT_EQ(parse_color("#00ffffff"), (Color{0x00, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(parse_color("#80102030")->argb(), 0x80102030u);
}

TEST(ColorTest, RejectsMalformedColours) {
    for (const char* bad : {"", "#", "#12345", "#1234567", "#123456789", "0x123456", "FF102030",
                            "#GG102030", "0x-1234567", "# 102030", "#+1020304"}) {
        EXPECT_FALSE(parse_color(bad).has_value()) << bad;
    }
}

TEST(ColorTest, TextColoursAreForcedOpaqueAndZeroMeansNone) {
    Color text = *parse_color("#00FFFFFF");
    EXPECT_EQ(opaque(text), (Color{255, 255, 255, 255}));
    EXPECT_TRUE(parse_color("#00000000")->is_none());
    EXPECT_FALSE(parse_color("#000000")->is_none());  // opaque black is a colour
}

}  // namespace
}  // namespace talvoro::ui
