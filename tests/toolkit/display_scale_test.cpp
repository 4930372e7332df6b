// Logical to physical pixels at the desktop's scales: edges round halves up and touching
// rectangles stay touching; the way back finds the logical pixel under a physical one.
#include <gtest/gtest.h>

#include <cmath>

#include "render/display_scale.h"

namespace talvoro::ui {
namespace {

DisplayScale at(double factor) {
    return *DisplayScale::nearest(factor);
}

TEST(DisplayScale, FactorsSnapToQuarterStepsWithinTheRange) {
    const struct {
        double factor;
        int percent;
    } cases[] = {{1.0, 100},  {0.5, 100}, {1.125, 125}, {1.12, 100}, {1.5, 150},
                 {1.74, 175}, {2.0, 200}, {3.0, 300},   {4.5, 300}};
    for (const auto& c : cases) {
        EXPECT_EQ(at(c.factor).percent(), c.percent) << c.factor;
    }
    EXPECT_FALSE(DisplayScale::nearest(0).has_value());
    EXPECT_FALSE(DisplayScale::nearest(-1).has_value());
    EXPECT_FALSE(DisplayScale::nearest(std::nan("")).has_value());
}

TEST(DisplayScale, EdgesAtTheFractionalScales) {
    // Logical 0..8 at 125, 150 and 175 %: each edge rounded on its own, halves up.
    const struct {
        double factor;
        int edges[9];
    } cases[] = {
        {1.25, {0, 1, 3, 4, 5, 6, 8, 9, 10}},
        {1.5, {0, 2, 3, 5, 6, 8, 9, 11, 12}},
        {1.75, {0, 2, 4, 5, 7, 9, 11, 12, 14}},
    };
    for (const auto& c : cases) {
        const DisplayScale scale = at(c.factor);
        for (int logical = 0; logical <= 8; ++logical) {
            EXPECT_EQ(scale.to_physical(logical), c.edges[logical])
                << scale.percent() << "% of " << logical;
        }
        // The window's size, and two rectangles that touch at an odd edge.
        EXPECT_EQ(scale.to_physical(Size{1025, 701}).width, (1025 * scale.percent() + 50) / 100);
        const Rect left = scale.to_physical(Rect{0, 0, 7, 3});
        const Rect right = scale.to_physical(Rect{7, 0, 13, 3});
        EXPECT_EQ(left.right, right.left) << scale.percent();
    }
    EXPECT_EQ(at(2.0).to_physical(Rect{10, 20, 30, 40}), (Rect{20, 40, 60, 80}));
}

TEST(DisplayScale, EveryPhysicalPixelBelongsToTheLogicalPixelThatCoversIt) {
    for (double factor : {1.0, 1.25, 1.5, 1.75, 2.0, 2.25, 3.0}) {
        const DisplayScale scale = at(factor);
        for (int physical = -40; physical < 400; ++physical) {
            const int logical = scale.to_logical(physical);
            EXPECT_LE(scale.to_physical(logical), physical) << scale.percent();
            EXPECT_GT(scale.to_physical(logical + 1), physical) << scale.percent();
        }
    }
    EXPECT_EQ(at(2.0).to_logical(Point{1025, 3}), (Point{512, 1}));
}

}  // namespace
}  // namespace talvoro::ui
