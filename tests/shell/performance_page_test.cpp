// The laser resolution levels of the main control page and the performance page: sliders that
// snap, step buttons, desktop settings shared by all profiles, options, and the page refresh.
#include <array>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "core/slider.h"
#include "diagnostics/window_driver.h"
#include "shell_fixture.h"

namespace talvoro::test {
namespace {

class PerformancePageTest : public ShellTest {
  protected:
    void SetUp() override {
        start_mouse();
        open_window();
    }

    ui::CSliderUI* slider(const std::string& name) const {
        return dynamic_cast<ui::CSliderUI*>(control(name.c_str()));
    }

    // Presses and releases the pointer on the slider's track where it stands for `value`, as a
    // person would, then pumps.
    void drag_to(const std::string& name, int value) {
        ui::CSliderUI* target = slider(name);
        ASSERT_NE(target, nullptr) << name;
        ASSERT_NE(target->value(), value) << name << ": a release without change sends nothing";
        const ui::Rect& pos = target->pos();
        const int y = (pos.top + pos.bottom) / 2;
        for (int x = pos.left; x < pos.right; ++x) {
            if (target->value_at({x, y}) == value) {
                ui::click_at(*window_, ui::Point{x, y});
                pump();
                return;
            }
        }
        FAIL() << name << " has no point for " << value;
    }

    std::string label(const std::string& name) const {
        ui::CControlUI* found = control(name.c_str());
        return found != nullptr ? found->text() : "<missing " + name + ">";
    }

    ProfileBlock& profile(int slot) { return store_->profiles[slot]; }
};

std::string laser_name(int level, char axis, const char* kind) {
    return "laser_level" + std::to_string(level + 1) + "_" + axis + "_" + kind;
}

std::string step_name(int level, char axis, const char* direction) {
    return "laser_L" + std::to_string(level + 1) + static_cast<char>(axis - 'a' + 'A') + "_" +
           direction + "_btn";
}

TEST_F(PerformancePageTest, LaserSlidersSnapToEvenPositionsAndStoreTheirLevelAndAxis) {
    const int slot = window_->current_profile_slot();
    const auto others = [this, slot] {
        std::vector<int32_t> values;
        for (int other = 0; other < 5; ++other) {
            if (other != slot) {
                // Copied out whole: the store is packed, so its fields are read bytewise.
                int32_t levels[std::size(ProfileBlock{}.laser_cpi)];
                std::memcpy(levels, profile(other).laser_cpi, sizeof levels);
                values.insert(values.end(), std::begin(levels), std::end(levels));
            }
        }
        return values;
    };
    const std::vector<int32_t> others_before = others();
    // Each level and axis on its own, with an odd position that snaps up; the ones set before
    // keep their value.
    std::array<int32_t, 8> expected{};
    for (int level = 0; level < 4; ++level) {
        for (char axis : {'x', 'y'}) {
            const size_t index = static_cast<size_t>(level * 2 + (axis == 'y'));
            const int position = 11 + 10 * level + (axis == 'y' ? 4 : 0);  // odd
            expected[index] = 200 * ((position + 1) / 2 + 1);
            drag_to(laser_name(level, axis, "slider"), position);
            EXPECT_EQ(slider(laser_name(level, axis, "slider"))->value(), position + 1);
            EXPECT_EQ(label(laser_name(level, axis, "label")), std::to_string(expected[index]));
            for (size_t i = 0; i <= index; ++i) {
                EXPECT_EQ(+profile(slot).laser_cpi[i], expected[i]) << level << axis << " " << i;
            }
        }
    }
    // The ends: 79 is the top (8200, slider 80), 1 is the first step up, 0 the bottom.
    const std::array<std::pair<int, std::pair<int, int>>, 3> ends = {
        {{79, {80, 8200}}, {1, {2, 400}}, {0, {0, 200}}}};
    for (const auto& [position, shown] : ends) {
        drag_to(laser_name(1, 'x', "slider"), position);
        EXPECT_EQ(slider(laser_name(1, 'x', "slider"))->value(), shown.first) << position;
        EXPECT_EQ(label(laser_name(1, 'x', "label")), std::to_string(shown.second)) << position;
        EXPECT_EQ(+profile(slot).laser_cpi[2], shown.second) << position;
    }
    // The other profiles never saw any of it.
    EXPECT_EQ(others(), others_before);
}

TEST_F(PerformancePageTest, LaserStepButtonsMoveOneStepAndStopAtBothEnds) {
    const int slot = window_->current_profile_slot();
    // At the top: up keeps 8200.
    drag_to(laser_name(3, 'y', "slider"), 79);
    click(step_name(3, 'y', "up").c_str());
    EXPECT_EQ(label(laser_name(3, 'y', "label")), "8200");
    EXPECT_EQ(slider(laser_name(3, 'y', "slider"))->value(), 80);
    EXPECT_EQ(+profile(slot).laser_cpi[7], 8200);
    click(step_name(3, 'y', "down").c_str());
    EXPECT_EQ(label(laser_name(3, 'y', "label")), "8000");
    EXPECT_EQ(slider(laser_name(3, 'y', "slider"))->value(), 78);
    EXPECT_EQ(+profile(slot).laser_cpi[7], 8000);
    // At the bottom: down keeps 200.
    drag_to(laser_name(0, 'x', "slider"), 3);
    EXPECT_EQ(label(laser_name(0, 'x', "label")), "600");
    for (int press = 0; press < 3; ++press) {
        click(step_name(0, 'x', "down").c_str());
    }
    EXPECT_EQ(label(laser_name(0, 'x', "label")), "200");
    EXPECT_EQ(slider(laser_name(0, 'x', "slider"))->value(), 0);
    EXPECT_EQ(+profile(slot).laser_cpi[0], 200);
    click(step_name(0, 'x', "up").c_str());
    EXPECT_EQ(label(laser_name(0, 'x', "label")), "400");
    EXPECT_EQ(+profile(slot).laser_cpi[0], 400);
    // The Y axis of level 1 was not touched by its X buttons.
    EXPECT_EQ(label(laser_name(0, 'y', "label")), std::to_string(+profile(slot).laser_cpi[1]));
}

TEST_F(PerformancePageTest, DesktopSettingsGoToEveryProfileTheOthersOnlyToTheShownOne) {
    click("performancebtn");
    click("kprofile3option");
    ASSERT_EQ(window_->current_profile_slot(), 2);
    const int32_t lift_off_elsewhere = profile(0).lift_off_level;
    const int32_t angle_elsewhere = profile(4).angle_snapping_level;

    drag_to("double_click_speed_slider", 7);    // level 4, slider 8
    drag_to("scroll_wheel_speed_slider", 18);   // level 9, 10 lines
    drag_to("pointer_acceleration_slider", 1);  // level 1
    drag_to("lift_off_distance_slider", 5);     // level 3
    drag_to("angle_snapping_slider", 20);       // level 10
    EXPECT_EQ(slider("double_click_speed_slider")->value(), 8);
    EXPECT_EQ(slider("scroll_wheel_speed_slider")->value(), 18);
    EXPECT_EQ(slider("pointer_acceleration_slider")->value(), 2);
    EXPECT_EQ(slider("lift_off_distance_slider")->value(), 6);
    EXPECT_EQ(slider("angle_snapping_slider")->value(), 20);
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(+profile(slot).double_click_level, 4) << slot;
        EXPECT_EQ(+profile(slot).wheel_lines_level, 10) << slot;
        EXPECT_EQ(+profile(slot).pointer_speed_level, 1) << slot;
    }
    EXPECT_EQ(+profile(2).lift_off_level, 3);
    EXPECT_EQ(+profile(2).angle_snapping_level, 10);
    EXPECT_EQ(+profile(0).lift_off_level, lift_off_elsewhere);
    EXPECT_EQ(+profile(4).angle_snapping_level, angle_elsewhere);

    // Profile 1 shows the double-click speed set while profile 3 was shown.
    click("kprofile1option");
    ASSERT_EQ(window_->current_profile_slot(), 0);
    EXPECT_EQ(slider("double_click_speed_slider")->value(), 8);
    EXPECT_EQ(slider("scroll_wheel_speed_slider")->value(), 18);
    EXPECT_EQ(slider("lift_off_distance_slider")->value(), 2 * lift_off_elsewhere);
    // The bottom of a slider is level 0 (wheel: 1 line).
    drag_to("scroll_wheel_speed_slider", 0);
    drag_to("double_click_speed_slider", 0);
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(+profile(slot).wheel_lines_level, 1) << slot;
        EXPECT_EQ(+profile(slot).double_click_level, 0) << slot;
    }
}

TEST_F(PerformancePageTest, OptionsStoreTheirValueInTheShownProfileAndADeselectionNothing) {
    click("performancebtn");
    click("kprofile2option");
    ASSERT_EQ(window_->current_profile_slot(), 1);
    const int32_t rate_elsewhere = profile(3).report_rate_hz;
    const std::array<std::pair<const char*, int32_t>, 4> rates = {{{"usb_rate_125_option", 125},
                                                                   {"usb_rate_250_option", 250},
                                                                   {"usb_rate_1000_option", 1000},
                                                                   {"usb_rate_500_option", 500}}};
    for (const auto& [name, hz] : rates) {
        click(name);
        EXPECT_TRUE(option(name)->is_selected()) << name;
        EXPECT_EQ(+profile(1).report_rate_hz, hz) << name;
    }
    const std::array<std::pair<const char*, int32_t>, 3> power = {{{"power_save_60s_option", 60},
                                                                   {"power_save_120s_option", 120},
                                                                   {"power_save_no_option", 0}}};
    for (const auto& [name, seconds] : power) {
        click(name);
        EXPECT_EQ(+profile(1).power_save_seconds, seconds) << name;
    }
    click("smoothing_off_option");
    EXPECT_EQ(+profile(1).smoothing, 0);
    click("smoothing_on_option");
    EXPECT_EQ(+profile(1).smoothing, 1);
    EXPECT_EQ(+profile(3).report_rate_hz, rate_elsewhere);

    // A deselection reaches the page too, and changes nothing.
    for (const char* name :
         {"usb_rate_1000_option", "power_save_120s_option", "smoothing_off_option"}) {
        ASSERT_FALSE(option(name)->is_selected()) << name;
        window_->manager().send_notify(option(name), "selectchanged");
        pump();
    }
    EXPECT_EQ(+profile(1).report_rate_hz, 500);
    EXPECT_EQ(+profile(1).power_save_seconds, 0);
    EXPECT_EQ(+profile(1).smoothing, 1);
}

TEST_F(PerformancePageTest, PageRefreshShowsTheStoredValuesInEveryControl) {
    ProfileBlock& shown = profile(3);
    const std::array<int32_t, 8> cpi = {150, 8200, 1000, 9000, 200, 400, 3300, 0};
    for (size_t i = 0; i < cpi.size(); ++i)
        shown.laser_cpi[i] = cpi[i];
    shown.report_rate_hz = 250;
    shown.power_save_seconds = 120;
    shown.smoothing = 0;
    shown.wheel_lines_level = 11;  // off the scale: slider at 0
    shown.double_click_level = 3;
    shown.pointer_speed_level = 10;
    shown.lift_off_level = 12;        // off the scale: slider at 0
    shown.angle_snapping_level = 15;  // still shown, capped by the slider
    ProfileBlock& next = profile(4);
    next.report_rate_hz = 999;  // no option stands for it
    next.power_save_seconds = 60;
    next.smoothing = 1;
    next.wheel_lines_level = 4;
    next.double_click_level = -1;
    next.lift_off_level = 10;
    next.angle_snapping_level = 16;

    click("profile4option");
    ASSERT_EQ(window_->current_profile_slot(), 3);
    const std::array<std::pair<std::string, int>, 8> lasers = {{{"150", 0},
                                                                {"8200", 80},
                                                                {"1000", 8},
                                                                {"9000", 80},
                                                                {"200", 0},
                                                                {"400", 2},
                                                                {"3300", 31},
                                                                {"0", 0}}};
    for (int level = 0; level < 4; ++level) {
        for (char axis : {'x', 'y'}) {
            const auto& [text, position] = lasers[static_cast<size_t>(level * 2 + (axis == 'y'))];
            EXPECT_EQ(label(laser_name(level, axis, "label")), text) << level << axis;
            EXPECT_EQ(slider(laser_name(level, axis, "slider"))->value(), position)
                << level << axis;
        }
    }
    const auto selected = [this](std::initializer_list<const char*> names) {
        std::string result;
        for (const char* name : names) {
            if (option(name)->is_selected())
                result += std::string(result.empty() ? "" : ",") + name;
        }
        return result;
    };
    const auto rates = {"usb_rate_125_option", "usb_rate_250_option", "usb_rate_500_option",
                        "usb_rate_1000_option"};
    const auto power = {"power_save_no_option", "power_save_60s_option", "power_save_120s_option"};
    const auto smoothing = {"smoothing_on_option", "smoothing_off_option"};
    EXPECT_EQ(selected(rates), "usb_rate_250_option");
    EXPECT_EQ(selected(power), "power_save_120s_option");
    EXPECT_EQ(selected(smoothing), "smoothing_off_option");
    EXPECT_EQ(slider("scroll_wheel_speed_slider")->value(), 0);
    EXPECT_EQ(slider("double_click_speed_slider")->value(), 6);
    EXPECT_EQ(slider("pointer_acceleration_slider")->value(), 20);
    EXPECT_EQ(slider("lift_off_distance_slider")->value(), 0);
    EXPECT_EQ(slider("angle_snapping_slider")->value(), 20);

    click("profile5option");
    ASSERT_EQ(window_->current_profile_slot(), 4);
    EXPECT_EQ(selected(rates), "");
    EXPECT_EQ(selected(power), "power_save_60s_option");
    EXPECT_EQ(selected(smoothing), "smoothing_on_option");
    EXPECT_EQ(slider("scroll_wheel_speed_slider")->value(), 6);
    EXPECT_EQ(slider("double_click_speed_slider")->value(), 0);
    EXPECT_EQ(slider("lift_off_distance_slider")->value(), 20);
    EXPECT_EQ(slider("angle_snapping_slider")->value(), 0);

    // A slot past the five shows nothing and leaves the page profile.
    window_->page_refresh(5);
    EXPECT_EQ(window_->current_profile_slot(), 4);
    EXPECT_EQ(slider("scroll_wheel_speed_slider")->value(), 6);
}

}  // namespace
}  // namespace talvoro::test
