// The store-to-mouse tables both ways, with the values where they bend.
#include <gtest/gtest.h>

#include "device/value_tables.h"
#include "store/button_function.h"

namespace talvoro {
namespace {

TEST(ValueTables, ReportRates) {
    for (int hz : {125, 250, 500, 1000})
        EXPECT_EQ(report_rate_hz(report_rate_code(hz)), hz);
    EXPECT_EQ(report_rate_code(125), 5);
    EXPECT_EQ(report_rate_code(250), 3);
    EXPECT_EQ(report_rate_code(500), 2);
    EXPECT_EQ(report_rate_code(1000), 1);
    EXPECT_EQ(report_rate_code(0), 1) << "anything else is 1000 Hz";
    EXPECT_EQ(report_rate_hz(4), 1000);
    EXPECT_EQ(report_rate_hz(0), 1000);
}

TEST(ValueTables, LiftOffLevelsAndCodes) {
    const uint8_t codes[] = {5, 6, 7, 8, 9, 10, 12, 18, 25, 32};
    for (int level = 1; level <= 10; ++level) {
        EXPECT_EQ(lift_off_code(level), codes[level - 1]);
        EXPECT_EQ(lift_off_level(codes[level - 1]), level);
    }
    EXPECT_EQ(lift_off_code(0), 5);
    EXPECT_EQ(lift_off_level(lift_off_code(0)), 1) << "level 0 comes back as 1";
    EXPECT_EQ(lift_off_code(-1), 32);
    EXPECT_EQ(lift_off_code(11), 32);
    EXPECT_EQ(lift_off_level(0), 0);
    for (uint8_t code : {1, 2, 3, 4})
        EXPECT_EQ(lift_off_level(code), 1) << int(code);
    // Between the table's codes: 4c - 28, tenths rounded half up.
    EXPECT_EQ(lift_off_level(11), 2);   // 16
    EXPECT_EQ(lift_off_level(13), 2);   // 24
    EXPECT_EQ(lift_off_level(14), 3);   // 28
    EXPECT_EQ(lift_off_level(20), 5);   // 52
    EXPECT_EQ(lift_off_level(33), 10);  // 104
}

TEST(ValueTables, EveryButtonFunctionBothWays) {
    struct Row {
        int32_t function;
        uint8_t type;
        uint8_t param;
    };
    const Row rows[] = {
        {kLeftClick, 0, 1},       {kRightClick, 0, 2},      {kScrollWheelClick, 0, 4},
        {kBrowserForward, 0, 16}, {kBrowserBackward, 0, 8}, {kScrollUp, 1, 1},
        {kScrollDown, 1, 255},    {kDpiUp, 10, 1},          {kDpiDown, 11, 1},
        {kDpiLevelSwitch, 9, 0},  {kProfileSelect, 8, 1},   {kDoubleClick, 14, 1},
        {kTripleClick, 13, 1},    {kSniperSwitch, 12, 1},   {kDisable, 255, 1},
    };
    for (const Row& row : rows) {
        const DeviceFunction device = device_function(row.function);
        EXPECT_EQ(device.type, row.type) << row.function;
        EXPECT_EQ(device.param, row.param) << row.function;
        EXPECT_EQ(button_function(row.type, row.param), row.function) << row.function;
    }
    // Types 8..14 and 255 are recognised whatever their parameter; mouse
    // buttons and the wheel only with theirs.
    EXPECT_EQ(button_function(10, 0x77), kDpiUp);
    EXPECT_EQ(button_function(255, 0), kDisable);
    EXPECT_EQ(button_function(0, 0x20), kFunctionNone);
    EXPECT_EQ(button_function(1, 2), kFunctionNone);
    EXPECT_EQ(button_function(0x40, 1), kFunctionNone);
    EXPECT_EQ(device_function(0).type, 0);
    EXPECT_EQ(device_function(99).param, 0) << "an unknown code goes out as type 0, param 0";
}

}  // namespace
}  // namespace talvoro
