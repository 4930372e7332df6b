// The mouse leaving and coming back while the window runs, seen by the real device watcher.
#include "shell/language/text_table.h"
#include "shell/popups/popup_state.h"
#include "shell_fixture.h"

namespace talvoro::test {
namespace {

constexpr size_t kStateLed = 10241;  // 1 while the mouse is dark

watch::DeviceChange mouse_change(watch::ChangeKind kind, int mi,
                                 uint16_t vendor = TALVORO_VENDOR_ID) {
    return {kind, watch::InterfaceOrigin::kVirtual, vendor, TALVORO_PRODUCT_ID,
            "talvoro.if" + std::to_string(mi) + ".hid"};
}

TEST_F(ShellTest, UnpluggingShowsOnePopupAndPluggingInReadsTheMouseAgain) {
    auto& mouse = start_mouse();
    open_window(/*watch_devices=*/true);
    ASSERT_FALSE(window_->device_absent());
    // Something to tell the refresh by: the page shows profile 2, and the store forgets.
    click("profile2option");
    store_->profiles[0].button_function[0] = 0;
    // And the lighting switched off, which a mouse read afresh has on again.
    click("ledlightonoffoption");
    ASSERT_EQ(mouse.read_state().at(kStateLed), 1);

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
    EXPECT_TRUE(option("ledlightonoffoption")->is_selected());
    EXPECT_EQ(store_->led_on, 1);
    EXPECT_EQ(mouse.read_state().at(kStateLed), 0);
}

// The refresh lights the mouse; one that will not light up is told about, once.
TEST_F(ShellTest, LightingTheMouseRefusesIsTold) {
    auto& mouse = start_mouse({"--refuse", "0x31"});  // lighting up
    open_window();
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text, shell::text(shell::TextRow::kLightingFailed));
    EXPECT_EQ(mouse.read_state().at(kStateLed), 1);
}

TEST_F(ShellTest, RemovalsThatDoNotConcernTheMouseAreIgnored) {
    start_mouse();
    open_window();
    // A second collection of the mouse leaving while the configuration one stays.
    window_->device_change(mouse_change(watch::ChangeKind::kRemoved, 0));
    // Another vendor's device with the same product number.
    window_->device_change(mouse_change(watch::ChangeKind::kRemoved, 1, 0x046D));
    pump();
    EXPECT_FALSE(window_->device_absent());
    EXPECT_TRUE(popups().empty());
}

TEST_F(ShellTest, TwoRemovalsOfTheMouseShowOnePopup) {
    auto& mouse = start_mouse();
    open_window();
    mouse.unplug();
    window_->device_change(mouse_change(watch::ChangeKind::kRemoved, 1));
    window_->device_change(mouse_change(watch::ChangeKind::kRemoved, 0));
    pump();
    EXPECT_TRUE(window_->device_absent());
    EXPECT_EQ(popups().size(), 1u);
}

}  // namespace
}  // namespace talvoro::test
