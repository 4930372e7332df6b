// Unloading talvoro_api.dll while its monitor runs. Under the loader lock no
// thread can be waited for, and a thread told to end there would still run
// the library's code while it is unmapped. So the monitor's thread holds the
// module itself and lets go of it as its last act (FreeLibraryAndExitThread):
// FreeLibrary leaves the code in place for the running thread; a client that
// loads the library again and closes the monitor ends the thread, and its
// last FreeLibrary then unloads the library.
#include <windows.h>

#include "device_monitor_fixture.h"
#include "library_loader.h"
#include "own_monitor_window.h"
#include "process_handles.h"

namespace talvoro::test {
namespace {

bool dll_loaded() {
    return GetModuleHandleW(L"talvoro_api.dll") != nullptr;
}

TEST_F(DeviceMonitor, TheThreadKeepsTheLibraryUntilItEnds) {
    start_mouse("loaded");
    ASSERT_FALSE(dll_loaded());
    const int threads = monitor_thread_count();
    {
        LoadedLibrary library(shipped_library_path());
        ASSERT_TRUE(library.loaded()) << library.error();
        auto open = reinterpret_cast<decltype(&Open_DevMonitor)>(library.symbol("Open_DevMonitor"));
        ASSERT_NE(open, nullptr);
        const TalvoroMessageSink sink = client_.sink();
        ASSERT_EQ(open(&sink, 0, kClientMessage), 1);
        expect_next(1, 1);
        EXPECT_EQ(monitor_thread_count(), threads + 1);
        ASSERT_TRUE(library.unload());
    }
    EXPECT_TRUE(dll_loaded()) << "the running thread holds the code it runs";
    EXPECT_EQ(monitor_thread_count(), threads + 1);
    EXPECT_EQ(client_.pending(), 0u) << "unloading announces no removal";

    LoadedLibrary again(shipped_library_path());
    ASSERT_TRUE(again.loaded()) << again.error();
    auto close = reinterpret_cast<decltype(&Close_DevMonitor)>(again.symbol("Close_DevMonitor"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close(), 1);
    expect_next(0, 1);
    EXPECT_EQ(monitor_thread_count(), threads);
    EXPECT_TRUE(dll_loaded()) << "still held by this program";
    ASSERT_TRUE(again.unload());
    EXPECT_FALSE(dll_loaded()) << "the thread let go of the library as it ended";
}

// Each start registers the window class anew and each unload takes the code
// away: no start may leave the class behind (its procedure would point into
// unloaded code at the next load) nor a handle.
TEST_F(DeviceMonitor, RestartsLeaveNeitherTheClassNorAHandleBehind) {
    for (int round = 0; round < 3; ++round) {
        LoadedLibrary library(shipped_library_path());
        ASSERT_TRUE(library.loaded()) << library.error();
        auto open = reinterpret_cast<decltype(&Open_DevMonitor)>(library.symbol("Open_DevMonitor"));
        auto close =
            reinterpret_cast<decltype(&Close_DevMonitor)>(library.symbol("Close_DevMonitor"));
        ASSERT_NE(open, nullptr);
        ASSERT_NE(close, nullptr);
        const TalvoroMessageSink sink = client_.sink();
        ASSERT_EQ(open(&sink, 0, kClientMessage), 1) << "round " << round;
        EXPECT_NE(own_monitor_window(), nullptr);
        EXPECT_EQ(close(), 1);
        EXPECT_EQ(own_monitor_window(), nullptr);
        ASSERT_TRUE(library.unload());
        EXPECT_FALSE(dll_loaded()) << "round " << round;
    }

    // Handles are counted within one load: loading a DLL costs the process
    // handles of the system's own (Wine keeps some of each load).
    ASSERT_EQ(open_monitor(), 1);
    EXPECT_EQ(Close_DevMonitor(), 1);
    const int handles_before = open_handle_count();
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(open_monitor(), 1);
        EXPECT_EQ(Close_DevMonitor(), 1);
    }
    EXPECT_EQ(open_handle_count(), handles_before) << "a start left a handle behind";
}

}  // namespace
}  // namespace talvoro::test
