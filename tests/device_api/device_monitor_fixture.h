// The device monitor tests' client and fixture: messages land in a queue the
// test waits on, with a deadline, and mice run in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "monitor/device_monitor.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "talvoro_api.h"

namespace talvoro::test {

// Threads of this process that are device monitors, by the name the library
// gives them (sanitizers and other libraries run threads of their own).
int monitor_thread_count();

inline constexpr uint32_t kClientMessage = 0x0400 + 77;
inline constexpr auto kDeadline = std::chrono::seconds(5);

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

}  // namespace talvoro::test
