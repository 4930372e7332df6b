// The device monitor against virtual mice through the real transport: what
// the client is told, from which thread, and in which order. Tests wait on the
// messages themselves, with a deadline, never for a fixed time.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <mutex>
#include <thread>

#include "composite_descriptors.h"
#include "monitor/device_monitor.h"
#include "monitor/monitor_loop.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;
constexpr uint32_t kClientMessage = 0x0400 + 77;
constexpr auto kDeadline = std::chrono::seconds(5);

struct Message {
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
    std::thread::id thread;
};

// The client's side: messages land in a queue the test waits on.
class Client {
  public:
    TalvoroMessageSink sink() { return {&Client::post, this}; }

    // The next message, or a failed test after the deadline.
    Message next() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!arrived_.wait_for(lock, kDeadline, [this] { return !queue_.empty(); })) {
            ADD_FAILURE() << "no message within the deadline";
            return {0, 99, -1, {}};
        }
        Message message = queue_.front();
        queue_.pop_front();
        return message;
    }

    size_t pending() {
        std::lock_guard<std::mutex> lock(mutex_);
        return queue_.size();
    }

  private:
    static void post(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam) {
        auto* self = static_cast<Client*>(context);
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->queue_.push_back({message, wparam, lparam, std::this_thread::get_id()});
        }
        self->arrived_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Message> queue_;
};

// Monitor threads of this process, by the name the library gives them
// (sanitizers and other libraries run threads of their own).
int thread_count() {
    int count = 0;
    DIR* dir = opendir("/proc/self/task");
    while (const dirent* entry = dir != nullptr ? readdir(dir) : nullptr) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string name;
        if (std::getline(comm, name) && name == "talvoro-monitor")
            ++count;
    }
    if (dir != nullptr)
        closedir(dir);
    return count;
}

class DeviceMonitor : public ::testing::Test {
  protected:
    ~DeviceMonitor() override {
        Close_DevMonitor();
        set_monitor_platform_id(kPlatformNt);
    }

    VirtualMouseProcess& start_mouse(const std::string& name, std::vector<std::string> args = {}) {
        mice_.push_back(std::make_unique<VirtualMouseProcess>(folder_.path(), args, name));
        return *mice_.back();
    }

    int open_monitor() {
        const TalvoroMessageSink sink = client_.sink();
        return Open_DevMonitor(&sink, 0, kClientMessage);
    }

    // Expects the next message to say `wparam` about device `number`.
    void expect_next(uintptr_t wparam, intptr_t number) {
        const Message message = client_.next();
        EXPECT_EQ(message.message, kClientMessage);
        EXPECT_EQ(message.wparam, wparam);
        EXPECT_EQ(message.lparam, number);
        EXPECT_NE(message.thread, std::this_thread::get_id()) << "posted from the monitor thread";
    }

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path()};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    Client client_;
    std::vector<std::unique_ptr<VirtualMouseProcess>> mice_;
};

TEST_F(DeviceMonitor, AnnouncesMicePresentInEnumerationOrderAndOnlyThem) {
    start_mouse("b-second");
    start_mouse("a-first");
    start_mouse("c-pointer", {"--interfaces", "pointer"});
    start_mouse("d-foreign", {"--vendor-id", "0x1234"});
    const int threads = thread_count();
    ASSERT_EQ(open_monitor(), 1);
    EXPECT_EQ(thread_count(), threads + 1);
    expect_next(1, 1);
    expect_next(1, 2);
    // Opening again while it runs announces nothing and starts nothing.
    EXPECT_EQ(open_monitor(), 1);
    EXPECT_EQ(thread_count(), threads + 1);

    // Closing announces both removals, then the thread is gone. Had the
    // pointer collection or the foreign mouse been tracked, their messages
    // would show here too.
    EXPECT_EQ(Close_DevMonitor(), 1);
    EXPECT_FALSE(monitor_running());
    EXPECT_EQ(thread_count(), threads);
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
    const int threads = thread_count();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(open_monitor(), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    set_monitor_start_delay(milliseconds(0));
    EXPECT_GE(waited, milliseconds(2000));
    EXPECT_FALSE(monitor_running());
    EXPECT_EQ(thread_count(), threads);
    EXPECT_EQ(open_monitor(), 1) << "a later start works";
}

TEST_F(DeviceMonitor, UnloadingTheLibraryStopsItsThread) {
    start_mouse("loaded");
    void* library = dlopen(built_program("libtalvoro_api.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto open = reinterpret_cast<decltype(&Open_DevMonitor)>(dlsym(library, "Open_DevMonitor"));
    ASSERT_NE(open, nullptr);
    const int threads = thread_count();
    const TalvoroMessageSink sink = client_.sink();
    ASSERT_EQ(open(&sink, 0, kClientMessage), 1);
    expect_next(1, 1);
    EXPECT_EQ(thread_count(), threads + 1);
    ASSERT_EQ(dlclose(library), 0);
    EXPECT_EQ(thread_count(), threads) << "the thread ended before the code went away";
    EXPECT_EQ(client_.pending(), 0u) << "unloading announces no removal";
}

}  // namespace
}  // namespace talvoro::test
