// The mouse leaving and returning while the program runs.
#include "device_link_fixture.h"
#include "store/button_function.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;
using watch::ChangeKind;
using watch::InterfaceOrigin;

using Presence = DeviceLinkTest;

TEST_F(Presence, StartingWithoutAMouseWaitsQuietly) {
    presence_.initial_check();
    EXPECT_TRUE(presence_.state().device_absent);
    EXPECT_EQ(ui_.not_detected, 0) << "no popup until the user touches the window";
    presence_.on_input_while_absent();
    presence_.on_input_while_absent();
    EXPECT_EQ(ui_.not_detected, 1);
    EXPECT_EQ(presence_.state().popup_flags, kNotDetectedShown);
}

TEST_F(Presence, StartingWithAMouseReadsItAndReportsTheRefresh) {
    start_mouse();
    presence_.initial_check();
    EXPECT_FALSE(presence_.state().device_absent);
    EXPECT_EQ(ui_.shown, std::vector<int>{0});
    EXPECT_EQ(ui_.refreshes, std::vector<bool>{true});
    EXPECT_GE(ui_.paints, 1) << "painted before the long read";
    EXPECT_EQ(+store_->profiles[0].button_function[0], kLeftClick);
}

TEST_F(Presence, AMouseThatCannotBeReadShowsDefaultsAndTellsTheUser) {
    // Every chunk read refused: the store takes the factory settings, and the
    // window is told once, after it shows them.
    start_mouse({"--refuse", "0x07"});
    presence_.initial_check();
    EXPECT_FALSE(presence_.state().device_absent);
    EXPECT_EQ(ui_.refreshes, std::vector<bool>{false});
    EXPECT_EQ(+store_->profiles[0].button_function[0], kLeftClick);
}

TEST_F(Presence, RemovalsShowOnePopupAndOnlyWhenTheMouseIsGone) {
    auto& mouse = start_mouse();
    presence_.initial_check();
    // The pointer collection went away but the configuration one still answers.
    presence_.on_device_change(mouse_change(ChangeKind::kRemoved, 0));
    EXPECT_FALSE(presence_.state().device_absent);
    EXPECT_EQ(ui_.not_detected, 0);

    mouse.unplug();
    presence_.on_device_change(mouse_change(ChangeKind::kRemoved, 0));
    presence_.on_device_change(mouse_change(ChangeKind::kRemoved, 1));
    EXPECT_TRUE(presence_.state().device_absent);
    EXPECT_EQ(ui_.not_detected, 1) << "two removals, one popup";

    // Another device arriving changes nothing, nor does another product of the same vendor.
    presence_.on_device_change(
        {ChangeKind::kArrived, InterfaceOrigin::kSystem, 0x046D, 0xC077, "/dev/hidraw7"});
    watch::DeviceChange sibling = mouse_change(ChangeKind::kArrived, 1);
    sibling.product ^= 1;
    presence_.on_device_change(sibling);
    EXPECT_TRUE(presence_.state().device_absent);
    EXPECT_EQ(ui_.notices_closed, 0);
}

TEST_F(Presence, TheMouseReturningIsReadAfresh) {
    auto& mouse = start_mouse();
    presence_.initial_check();
    const size_t reads = ui_.shown.size();
    // An arrival while nothing is missing (a second mouse, say) is ignored.
    presence_.on_device_change(mouse_change(ChangeKind::kArrived, 1));
    EXPECT_EQ(ui_.shown.size(), reads);

    mouse.unplug();
    presence_.on_device_change(mouse_change(ChangeKind::kRemoved, 1));
    // An arrival broadcast before the mouse answers: keep waiting.
    presence_.on_device_change(mouse_change(ChangeKind::kArrived, 0));
    EXPECT_TRUE(presence_.state().device_absent);

    mouse.plug_in();
    link_waits().clear();
    presence_.on_device_change(mouse_change(ChangeKind::kArrived, 1));
    EXPECT_FALSE(presence_.state().device_absent);
    EXPECT_TRUE(link_waits().empty()) << "the firmware answered at the first attempt";
    EXPECT_EQ(ui_.notices_closed, 1);
    EXPECT_EQ(presence_.state().popup_flags, 0u);
    EXPECT_EQ(ui_.shown.size(), reads + 1);
}

TEST_F(Presence, TheFirmwareWaitGivesUpAfter21Attempts) {
    auto& mouse = start_mouse({"--starting-ms", "3600000"});
    presence_.state().device_absent = true;
    presence_.on_device_change(mouse_change(ChangeKind::kArrived, 1));
    EXPECT_EQ(link_waits(), std::vector<milliseconds>(20, milliseconds(500)));
    EXPECT_EQ(link_.firmware_number(), 0xCCCC);
    EXPECT_EQ(ui_.shown.size(), 1u) << "the refresh runs anyway";
    mouse.stop();
}

TEST_F(Presence, AFailedFirmwareReadDoesNotEndTheWait) {
    start_mouse({}, "first");
    ASSERT_TRUE(link_.read_firmware_info());
    ASSERT_EQ(link_.firmware_number(), 105);
    mice_.front()->stop();
    // A mouse that refuses the firmware command: the old number must not
    // pass for an answer.
    start_mouse({"--refuse", "0x02"}, "second");
    presence_.state().device_absent = true;
    presence_.on_device_change(mouse_change(ChangeKind::kArrived, 1));
    EXPECT_EQ(link_waits().size(), 20u);
}

}  // namespace
}  // namespace talvoro::test
