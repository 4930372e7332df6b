#include "store/macro_steps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace talvoro {
namespace {

MacroStep make_step(const char* kind, const char* text, const char* action) {
    MacroStep step{};
    std::strcpy(step.kind, kind);
    std::strcpy(step.text, text);
    std::strcpy(step.action, action);
    return step;
}

TEST(MacroSteps, StoredMouseLabelsAreEighteenCharacters) {
    for (int action = 0; action < kMouseActionCount; ++action)
        EXPECT_EQ(std::strlen(stored_mouse_label(action)), 18u) << action;
    EXPECT_STREQ(stored_mouse_label(kMouseWheelClick), "Scroll Wheel Click");
    EXPECT_STREQ(stored_mouse_label(kMouseActionCount), "");
    EXPECT_STREQ(stored_mouse_label(-1), "");
}

TEST(MacroSteps, DelaysPressesAndReleasesAreListed) {
    EXPECT_TRUE(is_listed_step(make_step("t", "0.050", "")));
    EXPECT_TRUE(is_listed_step(make_step("k", " A ", "up")));
    EXPECT_TRUE(is_listed_step(make_step("m", "Left Click        ", "down")));
    EXPECT_FALSE(is_listed_step(make_step("k", "unknown", "unknown")));
    EXPECT_FALSE(is_listed_step(make_step("x", " A ", "down")));
}

TEST(MacroSteps, RowKindFollowsKindActionAndWheelLabel) {
    EXPECT_EQ(step_row_kind(make_step("t", "0.050", "")), kRowDelay);
    EXPECT_EQ(step_row_kind(make_step("k", " A ", "down")), kRowKeyDown);
    EXPECT_EQ(step_row_kind(make_step("k", " A ", "up")), kRowKeyUp);
    EXPECT_EQ(step_row_kind(make_step("m", "Scroll Wheel Down ", "down")), kRowWheelDown);
    EXPECT_EQ(step_row_kind(make_step("m", "Scroll Wheel Up   ", "up")), kRowWheelUp);
    EXPECT_EQ(step_row_kind(make_step("m", "Scroll Wheel Up   ", "down")), kRowMousePress);
    EXPECT_EQ(step_row_kind(make_step("m", "Left Click        ", "up")), kRowMouseRelease);
}

}  // namespace
}  // namespace talvoro
