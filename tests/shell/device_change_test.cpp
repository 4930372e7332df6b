// The mouse leaving and coming back while the window runs, seen by the real device watcher.
#include "shell/popups/popup_state.h"
#include "shell_fixture.h"

namespace talvoro::test {
namespace {

std::string mouse_name(int mi) {
    char name[128];
    std::snprintf(
        name, sizeof name,
        R"(\\?\HID#VID_%04X&PID_%04X&MI_%02d#1&2&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        TALVORO_VENDOR_ID, TALVORO_PRODUCT_ID, mi);
    return name;
}

TEST_F(ShellTest, UnpluggingShowsOnePopupAndPluggingInReadsTheMouseAgain) {
    auto& mouse = start_mouse();
    open_window(/*watch_devices=*/true);
    ASSERT_FALSE(window_->device_absent());
    // Something to tell the refresh by: the page shows profile 2, and the store forgets.
    click("profile2option");
    store_->profiles[0].button_function[0] = 0;

    mouse.unplug();
    ASSERT_TRUE(pump_until([&] { return window_->device_absent() && !popups().empty(); }));
    // Both collections announce their removal; later ones find the popup up already.
    pump();
    EXPECT_EQ(popups().size(), 1u);
    EXPECT_EQ(window_->popup_flags(), kNotDetectedShown);

    mouse.plug_in();
    ASSERT_TRUE(pump_until([&] { return !window_->device_absent() && popups().empty(); }));
    EXPECT_EQ(window_->popup_flags(), 0u);
    EXPECT_EQ(shell::popup_open, 0);
    EXPECT_EQ(+store_->profiles[0].button_function[0], 1) << "the store was read afresh";
    EXPECT_EQ(window_->current_profile_slot(), 0) << "the mouse's current profile is shown";
    EXPECT_TRUE(option("profile1option")->is_selected());
}

TEST_F(ShellTest, RemovalBroadcastsThatDoNotConcernTheMouseAreIgnored) {
    start_mouse();
    open_window();
    // A second collection of the mouse leaving while the configuration one stays.
    window_->device_change(0x8004, 5, mouse_name(0));
    // A USB stick, and a volume broadcast.
    window_->device_change(0x8004, 5, R"(\\?\USBSTOR#Disk&Ven_Kingston#1&2#{53f56307})");
    window_->device_change(0x8004, 2, mouse_name(1));
    pump();
    EXPECT_FALSE(window_->device_absent());
    EXPECT_TRUE(popups().empty());
}

TEST_F(ShellTest, TwoRemovalsOfTheMouseShowOnePopup) {
    auto& mouse = start_mouse();
    open_window();
    mouse.unplug();
    window_->device_change(0x8004, 5, mouse_name(1));
    window_->device_change(0x8004, 5, mouse_name(0));
    pump();
    EXPECT_TRUE(window_->device_absent());
    EXPECT_EQ(popups().size(), 1u);
}

}  // namespace
}  // namespace talvoro::test
