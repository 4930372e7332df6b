// The device monitor against virtual mice through the real transport: what
// the client is told, from which thread, and in which order. Tests wait on the
// messages themselves, with a deadline, never for a fixed time.
#include "device_monitor_fixture.h"

#include <chrono>

#include "composite_descriptors.h"
#include "monitor/monitor_loop.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;

TEST_F(DeviceMonitor, AnnouncesMicePresentInEnumerationOrderAndOnlyThem) {
    start_mouse("b-second");
    start_mouse("a-first");
    start_mouse("c-pointer", {"--interfaces", "pointer"});
    start_mouse("d-foreign", {"--vendor-id", "0x1234"});
    const int threads = monitor_thread_count();
    ASSERT_EQ(open_monitor(), 1);
    EXPECT_EQ(monitor_thread_count(), threads + 1);
    expect_next(1, 1);
    expect_next(1, 2);
    // Opening again while it runs announces nothing and starts nothing.
    EXPECT_EQ(open_monitor(), 1);
    EXPECT_EQ(monitor_thread_count(), threads + 1);

    // Closing announces both removals, then the thread is gone. Had the
    // pointer collection or the foreign mouse been tracked, their messages
    // would show here too.
    EXPECT_EQ(Close_DevMonitor(), 1);
    EXPECT_FALSE(monitor_running());
    EXPECT_EQ(monitor_thread_count(), threads);
    expect_next(0, 1);
    expect_next(0, 2);
    EXPECT_EQ(client_.pending(), 0u);
}

TEST_F(DeviceMonitor, RemovalsAndArrivalsWhileRunning) {
    ASSERT_EQ(open_monitor(), 1);
    auto& first = start_mouse("first");
    expect_next(1, 1);
    auto& second = start_mouse("second");
    expect_next(1, 2);

    first.unplug();
    expect_next(0, 1);
    // A new mouse takes the lowest number no tracked mouse holds.
    start_mouse("third");
    expect_next(1, 1);
    first.plug_in();
    expect_next(1, 3);
    second.stop();
    expect_next(0, 2);
    EXPECT_EQ(client_.pending(), 0u);
}

// Nodes that carry the configuration collection behind others are tracked,
// whether present at the start or arriving later; nodes that carry other
// collections only are not.
TEST_F(DeviceMonitor, TracksTheConfigurationCollectionWhereverItSits) {
    const std::string composite_file = write_descriptor(
        folder_.file("composite.desc"), composite({&kKeyboardCollection, &kConsumerCollection}));
    const std::string vendor_only_file =
        write_descriptor(folder_.file("vendor.desc"), composite({&kOtherVendorCollection}, false));
    start_mouse("a-present", {"--config-descriptor", composite_file});
    ASSERT_EQ(open_monitor(), 1);
    expect_next(1, 1);
    start_mouse("b-vendor-only", {"--config-descriptor", vendor_only_file});
    auto& late = start_mouse("c-arriving", {"--config-descriptor", composite_file});
    expect_next(1, 2);
    late.unplug();
    expect_next(0, 2);
    EXPECT_EQ(client_.pending(), 0u) << "the node without the collection was never tracked";
}

TEST_F(DeviceMonitor, ArrivalsWhileSuspendedAreIgnored) {
    ASSERT_EQ(open_monitor(), 1);
    inject_monitor_power_event(kPowerSuspend);
    monitor_barrier();
    start_mouse("while-asleep");
    monitor_barrier();  // its arrival has been seen, and passed over
    inject_monitor_power_event(kPowerResumeAutomatic);
    monitor_barrier();
    start_mouse("after-waking");
    expect_next(1, 1);
    Close_DevMonitor();
    expect_next(0, 1);
    EXPECT_EQ(client_.pending(), 0u) << "the mouse that came during the suspend was never tracked";
}

TEST_F(DeviceMonitor, TheOtherPlatformFamilyDropsAndRefindsDevicesAcrossASuspend) {
    set_monitor_platform_id(kPlatformWindows95);
    start_mouse("one");
    start_mouse("two");
    ASSERT_EQ(open_monitor(), 1);
    expect_next(1, 1);
    expect_next(1, 2);
    inject_monitor_power_event(kPowerSuspend);
    // The silent removal is one-shot: the first node goes quietly.
    expect_next(0, 2);
    inject_monitor_power_event(kPowerResumeSuspend);
    expect_next(1, 1);
    expect_next(1, 2);
}

TEST_F(DeviceMonitor, AThreadThatDoesNotComeUpFailsTheStart) {
    set_monitor_start_delay(milliseconds(2500));
    const int threads = monitor_thread_count();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(open_monitor(), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    set_monitor_start_delay(milliseconds(0));
    EXPECT_GE(waited, milliseconds(2000));
    EXPECT_FALSE(monitor_running());
    EXPECT_EQ(monitor_thread_count(), threads);
    EXPECT_EQ(open_monitor(), 1) << "a later start works";
}

}  // namespace
}  // namespace talvoro::test
