#include "device/system_mouse_settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace talvoro {
namespace {

using Writes = std::vector<std::string>;

// A desktop that reports fixed values and records every write in order.
class FakeDesktop : public DesktopMouseSettings {
  public:
    std::optional<int> double_click, wheel, speed;
    bool refuse_writes = false;
    Writes writes;

    std::optional<int> double_click_ms() const override { return double_click; }
    std::optional<int> wheel_lines() const override { return wheel; }
    std::optional<int> pointer_speed() const override { return speed; }
    bool set_double_click_ms(int ms) override { return record("double_click", ms, double_click); }
    bool set_wheel_lines(int lines) override { return record("wheel", lines, wheel); }
    bool set_pointer_speed(int value) override { return record("speed", value, speed); }
    const char* name() const override { return "fake"; }

  private:
    bool record(const char* what, int value, std::optional<int>& slot) {
        writes.push_back(std::string(what) + "=" + std::to_string(value));
        if (!refuse_writes)
            slot = value;
        return !refuse_writes;
    }
};

struct Levels {
    int double_click, wheel, speed;
    bool operator==(const Levels&) const = default;
};

Writes apply_levels(Levels levels, bool refuse_writes = false) {
    auto block = std::make_unique<ProfileBlock>();
    block->double_click_level = levels.double_click;
    block->wheel_lines_level = levels.wheel;
    block->pointer_speed_level = levels.speed;
    FakeDesktop desktop;
    desktop.refuse_writes = refuse_writes;
    apply_system_settings(*block, desktop);
    return desktop.writes;
}

Levels read_levels(std::optional<int> double_click, std::optional<int> wheel,
                   std::optional<int> speed) {
    FakeDesktop desktop;
    desktop.double_click = double_click;
    desktop.wheel = wheel;
    desktop.speed = speed;
    auto block = std::make_unique<ProfileBlock>();
    read_system_levels(*block, desktop);
    return {block->double_click_level, block->wheel_lines_level, block->pointer_speed_level};
}

TEST(SystemMouseSettings, DesktopDefaultsReadAndWriteBack) {
    // 500 ms (Windows) and 400 ms (GNOME) are not in the table: both read as the nearest
    // step, 450 ms, so the first apply keeps the desktop's double-click speed close.
    const Levels levels = read_levels(500, 3, 10);
    EXPECT_EQ(levels, (Levels{8, 3, 5}));
    EXPECT_EQ(apply_levels(levels), (Writes{"double_click=450", "wheel=3", "speed=10"}));
    const Levels gnome = read_levels(400, 3, 10);
    EXPECT_EQ(gnome, (Levels{8, 3, 5}));
    EXPECT_EQ(apply_levels(gnome), (Writes{"double_click=450", "wheel=3", "speed=10"}));
    // A refused write does not stop the ones after it.
    EXPECT_EQ(apply_levels({7, 4, 2}, true), (Writes{"double_click=600", "wheel=4", "speed=4"}));
}

TEST(SystemMouseSettings, ApplyClampsEachLevelIntoItsTable) {
    const std::pair<Levels, Writes> cases[] = {
        {{0, 0, 0}, {"double_click=1650", "wheel=1", "speed=1"}},
        {{-3, -1, -9}, {"double_click=1650", "wheel=1", "speed=1"}},
        {{1, 1, 1}, {"double_click=1500", "wheel=1", "speed=2"}},
        {{5, 10, 5}, {"double_click=900", "wheel=10", "speed=10"}},
        {{10, 11, 10}, {"double_click=150", "wheel=10", "speed=20"}},
        {{11, 12, 11}, {"double_click=150", "wheel=10", "speed=20"}},
        {{INT32_MAX, INT32_MIN, INT32_MIN}, {"double_click=150", "wheel=1", "speed=1"}},
    };
    for (const auto& [levels, writes] : cases)
        EXPECT_EQ(apply_levels(levels), writes)
            << levels.double_click << ", " << levels.wheel << ", " << levels.speed;
}

TEST(SystemMouseSettings, ReadRules) {
    const std::pair<Levels, Levels> cases[] = {
        // double-click ms, wheel lines, speed -> levels
        {{1650, 0, 1}, {0, 0, 0}},     {{1500, 1, 2}, {1, 1, 1}},
        {{900, 9, 3}, {5, 9, 2}},      {{300, 11, 7}, {9, 10, 4}},
        {{150, 12, 19}, {10, 10, 10}}, {{151, kWheelPageScroll, 21}, {10, 10, 10}},
        {{0, -5, 0}, {10, 10, 0}},     {{-150, 400, -4}, {10, 10, 0}},
    };
    for (const auto& [values, levels] : cases)
        EXPECT_EQ(read_levels(values.double_click, values.wheel, values.speed), levels)
            << values.double_click << " ms, " << values.wheel << " lines, speed " << values.speed;
    // Double-click times off the table read as the nearest step, the longer time on a tie;
    // times past either end read as that end.
    const std::pair<int, int> times[] = {
        {400, 8},       {500, 8},        {525, 7},  {524, 8},  {526, 7},  {225, 9},
        {224, 10},      {299, 9},        {1, 10},   {1725, 0}, {1726, 0}, {99999, 0},
        {INT32_MAX, 0}, {INT32_MIN, 10}, {1575, 0}, {1574, 1}, {76, 10},  {75, 10},
    };
    for (const auto& [ms, level] : times)
        EXPECT_EQ(read_levels(ms, 3, 10).double_click, level) << ms << " ms";
    // A desktop that reports nothing reads like one past every scale.
    EXPECT_EQ(read_levels(std::nullopt, std::nullopt, std::nullopt), (Levels{10, 10, 10}));
}

TEST(SystemMouseSettings, EveryLevelSurvivesApplyAndRead) {
    for (int level = 0; level <= kTopLevel; ++level) {
        FakeDesktop desktop;
        auto block = std::make_unique<ProfileBlock>();
        block->double_click_level = block->wheel_lines_level = block->pointer_speed_level = level;
        apply_system_settings(*block, desktop);
        read_system_levels(*block, desktop);
        EXPECT_EQ(+block->double_click_level, level);
        EXPECT_EQ(+block->pointer_speed_level, level);
        // Level 0 is written as one line, which reads back as level 1.
        EXPECT_EQ(+block->wheel_lines_level, level == 0 ? 1 : level);
    }
}

}  // namespace
}  // namespace talvoro
