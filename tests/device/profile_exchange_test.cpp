// Reading the mouse into the store and applying the store to it, through the
// library and a virtual mouse.
#include <cstring>

#include "device_link_fixture.h"
#include "store/button_function.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;

constexpr size_t kStateSlot = 10240;

// A store with every field the pages can set away from its default.
void fill_pages(ProfileStore& store) {
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileBlock& block = store.profiles[i];
        block.in_use = i != 3 ? 1 : 0;
        block.report_rate_hz = i == 0 ? 125 : 500;
        block.power_save_seconds = 120;
        block.lift_off_level = 2 + i;
        block.angle_snapping_level = i;
        block.smoothing = static_cast<uint8_t>(i % 2);
        block.wheel_lines_level = 7;
        block.double_click_level = 2;
        block.pointer_speed_level = 9;
        for (int k = 0; k < kCpiValues; ++k)
            block.laser_cpi[k] = 200 + 100 * (i + k);
        for (int b = 0; b < kButtonCount; ++b)
            block.button_function[b] = kDefaultButtons[b];
        block.button_function[5] = kSingleKey;
        block.button_param[5] = 'Q';
        block.button_function[7] = kMacro;
        block.button_param[7] = 1 + i % 2;
        block.macro_play_mode[7] = i == 0 ? kPlayWhilePressed : 3;
        block.button_function[8] = kTripleClick;
    }
    for (int m = 0; m < 2; ++m) {
        MacroRecord& macro = store.macro_store.macros[m];
        std::snprintf(macro.name, sizeof macro.name, "combo %d", m);
        add_step(macro, "k", m == 0 ? " Shift " : " F5 ", "down");
        add_step(macro, "t", "0.120", "");
        add_step(macro, "m", "Left Click        ", "down");
        add_step(macro, "m", "Left Click        ", "up");
    }
    store.macro_store.macro_count = 2;
    store.current_profile = 3;
}

using ProfileExchangeTest = DeviceLinkTest;

TEST_F(ProfileExchangeTest, WhatThePagesSetSurvivesApplyAndRead) {
    auto& mouse = start_mouse();
    fill_pages(*store_);
    ASSERT_EQ(exchange_.apply_all(), 1);

    // The waits between the calls, and what reached the mouse.
    const std::vector<milliseconds> expected(5, milliseconds(250));
    std::vector<milliseconds> waits = link_waits();
    ASSERT_EQ(waits.size(), 6u);
    EXPECT_EQ(std::vector<milliseconds>(waits.begin(), waits.begin() + 5), expected);
    EXPECT_EQ(waits[5], milliseconds(100));
    const std::vector<uint8_t> state = mouse.read_state();
    EXPECT_EQ(state.at(kStateSlot), 2) << "profile 3 is current";
    EXPECT_EQ(state.at(2 * 2048 + 0x15), 2) << "500 Hz in slot 2's image";
    EXPECT_EQ(state.at(0 * 2048 + 0x15), 5) << "125 Hz in slot 0's image";
    EXPECT_EQ(state.at(3 * 2048 + 0x01), 0) << "profile 4 is not in use";
    EXPECT_EQ(exchange_.mirror()[1].buttons[7].macro_offset, 780);
    EXPECT_EQ(ui_.shown, std::vector<int>{2});
    EXPECT_EQ(desktop_.double_click, 1350) << "profile 3's levels went to the desktop";
    EXPECT_EQ(desktop_.lines, 7);
    EXPECT_EQ(desktop_.speed, 18);

    auto fresh = zeroed_store();
    ProfileExchange reader(*fresh, link_, desktop_, ui_);
    ASSERT_EQ(reader.read_device(), 1);
    EXPECT_EQ(fresh->current_profile, 3);
    EXPECT_EQ(+fresh->macro_store.macro_count, 2);
    for (int i = 0; i < kProfileCount; ++i) {
        const ProfileBlock& a = store_->profiles[i];
        const ProfileBlock& b = fresh->profiles[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(b.in_use, a.in_use);
        EXPECT_EQ(+b.report_rate_hz, +a.report_rate_hz);
        EXPECT_EQ(+b.power_save_seconds, +a.power_save_seconds);
        EXPECT_EQ(+b.lift_off_level, +a.lift_off_level);
        EXPECT_EQ(+b.angle_snapping_level, +a.angle_snapping_level);
        EXPECT_EQ(b.smoothing, a.smoothing);
        EXPECT_EQ(std::memcmp(b.laser_cpi, a.laser_cpi, sizeof a.laser_cpi), 0);
        EXPECT_EQ(std::memcmp(b.button_function, a.button_function, sizeof a.button_function), 0);
        EXPECT_EQ(+b.button_param[5], 'Q');
        EXPECT_EQ(+b.macro_play_mode[7], +a.macro_play_mode[7]);
        EXPECT_EQ(+b.wheel_lines_level, 7) << "levels come from the desktop";
        EXPECT_EQ(+b.double_click_level, 2);
        EXPECT_EQ(+b.pointer_speed_level, 9);
    }
    // Macros come back under the names a read gives them, steps intact.
    EXPECT_EQ(+fresh->profiles[1].button_param[7], 2);
    EXPECT_STREQ(fresh->macro_store.macros[1].name, "MACRO_2");
    ASSERT_EQ(+fresh->macro_store.macros[1].step_count, 4);
    EXPECT_STREQ(fresh->macro_store.macros[1].steps[0].text, " F5 ");
    EXPECT_STREQ(fresh->macro_store.macros[1].steps[1].text, "0.120");
    EXPECT_STREQ(fresh->macro_store.macros[1].steps[3].text, "Left Click     ");
    EXPECT_STREQ(fresh->fw_version, "V1.05");
    EXPECT_STREQ(fresh->app_version, "V1.40");
}

TEST_F(ProfileExchangeTest, AFailedReadLeavesTheStoreAlone) {
    fill_pages(*store_);
    const auto before = std::make_unique<ProfileStore>(*store_);
    EXPECT_EQ(exchange_.read_device(), 0) << "no mouse";
    EXPECT_EQ(std::memcmp(store_.get(), before.get(), sizeof(ProfileStore)), 0);

    start_mouse({"--refuse", "0x07"});
    EXPECT_EQ(exchange_.read_device(), 255) << "the mouse refuses every chunk";
    EXPECT_EQ(std::memcmp(store_.get(), before.get(), sizeof(ProfileStore)), 0);
    EXPECT_TRUE(ui_.shown.empty());

    // The refresh then falls back to the defaults, keeping the macros.
    presence_.device_refresh();
    EXPECT_EQ(+store_->profiles[2].button_function[5], kDefaultButtons[5]);
    EXPECT_EQ(+store_->profiles[2].report_rate_hz, 125);
    EXPECT_EQ(+store_->macro_store.macro_count, 2);
    EXPECT_STREQ(store_->fw_version, "V1.05");
}

TEST_F(ProfileExchangeTest, AFailedApplyReportsTheFirstFailureAndKeepsTheDesktop) {
    fill_pages(*store_);
    EXPECT_EQ(exchange_.apply_all(), 0) << "no mouse";
    EXPECT_EQ(desktop_.writes, 0);

    auto& mouse = start_mouse({"--refuse", "0x08"});
    const std::vector<uint8_t> before = mouse.read_state();
    EXPECT_EQ(exchange_.apply_all(), 255);
    EXPECT_EQ(desktop_.writes, 0) << "the desktop follows only a profile the mouse took";
    EXPECT_EQ(link_waits().size(), 1u) << "no further slot after the first refusal";
    EXPECT_EQ(mouse.read_state(), before);
}

// The window shows how far a long exchange has come: each step is announced
// before it starts, and the progress ends however the exchange ends.
TEST_F(ProfileExchangeTest, ProgressComesBeforeEachStepAndAlwaysEnds) {
    using Step = ExchangeStep;
    using P = RecordingEvents::Progress;
    fill_pages(*store_);
    EXPECT_EQ(exchange_.apply_all(), 0);
    EXPECT_TRUE(ui_.progress.empty()) << "nothing to show without a mouse";

    auto& mouse = start_mouse();
    ASSERT_EQ(exchange_.apply_all(), 1);
    EXPECT_EQ(ui_.progress, (std::vector<P>{{Step::kWriteProfile, 1},
                                            {Step::kWriteProfile, 2},
                                            {Step::kWriteProfile, 3},
                                            {Step::kWriteProfile, 4},
                                            {Step::kWriteProfile, 5},
                                            {Step::kSelectProfile, 3},
                                            {std::nullopt, 0}}));
    ui_.progress.clear();
    ASSERT_EQ(exchange_.read_device(), 1);
    EXPECT_EQ(ui_.progress, (std::vector<P>{{Step::kReadProfile, 1},
                                            {Step::kReadProfile, 2},
                                            {Step::kReadProfile, 3},
                                            {Step::kReadProfile, 4},
                                            {Step::kReadProfile, 5},
                                            {std::nullopt, 0}}));

    mouse.stop();
    start_mouse({"--refuse", "0x08"});
    ui_.progress.clear();
    EXPECT_EQ(exchange_.apply_all(), 255);
    EXPECT_EQ(ui_.progress, (std::vector<P>{{Step::kWriteProfile, 1}, {std::nullopt, 0}}));
}

TEST_F(ProfileExchangeTest, MissingEntryPointsAreNeverCalled) {
    start_mouse();
    DeviceApi partial = direct_api();
    partial.Read_profile = nullptr;
    partial.Set_current_profile_id = nullptr;
    DeviceLink link(partial, [](milliseconds) {});
    ProfileExchange exchange(*store_, link, desktop_, ui_);
    EXPECT_EQ(exchange.read_device(), 0);
    EXPECT_EQ(exchange.apply_all(), 0);
    EXPECT_TRUE(ui_.shown.empty());
}

}  // namespace
}  // namespace talvoro::test
