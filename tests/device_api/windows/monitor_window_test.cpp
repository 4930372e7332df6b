// The monitor's hidden window as the system and other programs see it, and
// real power broadcasts sent to it, as Windows sends them around a sleep.
#include <windows.h>

#include "device_monitor_fixture.h"
#include "own_monitor_window.h"

namespace talvoro::test {
namespace {

HWND monitor_window() {
    return own_monitor_window();
}

// Sent, not posted: when it returns, the monitor's thread has handled it.
void broadcast_power(HWND window, WPARAM event) {
    SendMessageW(window, WM_POWERBROADCAST, event, 0);
}

TEST_F(DeviceMonitor, TheHiddenWindowIsAsTheSystemKnowsIt) {
    ASSERT_EQ(monitor_window(), nullptr);
    ASSERT_EQ(open_monitor(), 1);
    const HWND window = monitor_window();
    ASSERT_NE(window, nullptr);

    wchar_t text[64] = {};
    ASSERT_GT(GetClassNameW(window, text, 64), 0);
    EXPECT_STREQ(text, L"Thread In DLL");
    ASSERT_GT(GetWindowTextW(window, text, 64), 0);
    EXPECT_STREQ(text, L"Thread In DLL");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CLIPSIBLINGS), DWORD{WS_POPUP | WS_CLIPSIBLINGS});
    EXPECT_EQ(style & (WS_VISIBLE | WS_CHILD | WS_CAPTION), 0u) << "never shown";
    const auto extended = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    // Asked for with WS_EX_WINDOWEDGE too, which the system keeps on framed
    // windows only.
    EXPECT_EQ(extended & WS_EX_CLIENTEDGE, DWORD{WS_EX_CLIENTEDGE});
    RECT place{};
    ASSERT_TRUE(GetWindowRect(window, &place));
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.right - place.left, 5);
    EXPECT_EQ(place.bottom - place.top, 5);
    EXPECT_EQ(GetParent(window), nullptr);

    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    EXPECT_EQ(process, GetCurrentProcessId());
    EXPECT_NE(thread, GetCurrentThreadId()) << "owned by the monitor's own thread";

    EXPECT_EQ(Close_DevMonitor(), 1);
    EXPECT_FALSE(IsWindow(window)) << "closing destroys the window";
    EXPECT_EQ(monitor_window(), nullptr);
    // A later start registers its class again and makes a new window.
    ASSERT_EQ(open_monitor(), 1);
    EXPECT_NE(monitor_window(), nullptr);
}

TEST_F(DeviceMonitor, ArrivalsBetweenSuspendAndResumeBroadcastsAreIgnored) {
    auto& present = start_mouse("a-present");
    ASSERT_EQ(open_monitor(), 1);
    expect_next(1, 1);
    const HWND window = monitor_window();
    ASSERT_NE(window, nullptr);

    broadcast_power(window, PBT_APMSUSPEND);
    start_mouse("b-while-asleep");
    monitor_barrier();  // its arrival has been seen, and passed over
    EXPECT_EQ(client_.pending(), 0u) << "the NT family keeps its devices through a suspend";
    broadcast_power(window, PBT_APMRESUMEAUTOMATIC);
    start_mouse("c-after-waking");
    expect_next(1, 2);
    present.unplug();
    expect_next(0, 1);
    EXPECT_EQ(Close_DevMonitor(), 1);
    expect_next(0, 2);
    EXPECT_EQ(client_.pending(), 0u) << "the mouse that came during the suspend was never tracked";
}

TEST_F(DeviceMonitor, TheOtherFamilyDropsAndRefindsDevicesOnPowerBroadcasts) {
    set_monitor_platform_id(kPlatformWindows95);
    start_mouse("one");
    start_mouse("two");
    ASSERT_EQ(open_monitor(), 1);
    expect_next(1, 1);
    expect_next(1, 2);
    const HWND window = monitor_window();
    ASSERT_NE(window, nullptr);
    broadcast_power(window, PBT_APMSUSPEND);
    expect_next(0, 2);  // the first removal is the silent one
    EXPECT_EQ(client_.pending(), 0u);
    // Events other than suspend and the resumes change nothing.
    broadcast_power(window, PBT_POWERSETTINGCHANGE);
    broadcast_power(window, PBT_APMRESUMESUSPEND);
    expect_next(1, 1);
    expect_next(1, 2);
    EXPECT_EQ(client_.pending(), 0u);
}

}  // namespace
}  // namespace talvoro::test
