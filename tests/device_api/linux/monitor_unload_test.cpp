// Unloading the library while its monitor runs: dlclose runs its destructor,
// which stops the thread before the code goes away.
#include "device_monitor_fixture.h"
#include "library_loader.h"

namespace talvoro::test {
namespace {

TEST_F(DeviceMonitor, UnloadingTheLibraryStopsItsThread) {
    start_mouse("loaded");
    LoadedLibrary library(shipped_library_path());
    ASSERT_TRUE(library.loaded()) << library.error();
    auto open = reinterpret_cast<decltype(&Open_DevMonitor)>(library.symbol("Open_DevMonitor"));
    ASSERT_NE(open, nullptr);
    const int threads = monitor_thread_count();
    const TalvoroMessageSink sink = client_.sink();
    ASSERT_EQ(open(&sink, 0, kClientMessage), 1);
    expect_next(1, 1);
    EXPECT_EQ(monitor_thread_count(), threads + 1);
    ASSERT_TRUE(library.unload());
    EXPECT_EQ(monitor_thread_count(), threads) << "the thread ended before the code went away";
    EXPECT_EQ(client_.pending(), 0u) << "unloading announces no removal";
}

}  // namespace
}  // namespace talvoro::test
