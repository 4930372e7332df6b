#include "probe/watch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>

#include "talvoro_api.h"

namespace talvoro {
namespace {

constexpr uint32_t kWatchMessage = 0x0400 + 1;

std::atomic<bool> g_interrupted{false};

void on_interrupt(int) {
    g_interrupted = true;
}

struct Event {
    uintptr_t found;
    intptr_t number;
};

// The monitor posts from its own thread; the main thread prints.
class EventQueue {
  public:
    static void post(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam) {
        if (message != kWatchMessage)
            return;
        auto* self = static_cast<EventQueue*>(context);
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->events_.push_back({wparam, lparam});
        }
        self->arrived_.notify_one();
    }

    // The next event, or false when interrupted. Checks for an interrupt a few
    // times a second: a signal handler may not wake a condition variable.
    bool next(Event& event) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (events_.empty()) {
            if (g_interrupted)
                return false;
            arrived_.wait_for(lock, std::chrono::milliseconds(200));
        }
        event = events_.front();
        events_.pop_front();
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Event> events_;
};

void print_event(const Event& event) {
    char stamp[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", std::localtime(&now));
    std::printf("%s  %-8s device %ld\n", stamp, event.found != 0 ? "found" : "removed",
                static_cast<long>(event.number));
    std::fflush(stdout);
}

}  // namespace

int watch_devices() {
    std::signal(SIGINT, on_interrupt);
    std::signal(SIGTERM, on_interrupt);
    EventQueue queue;
    const TalvoroMessageSink sink{&EventQueue::post, &queue};
    if (Open_DevMonitor(&sink, 0, kWatchMessage) == 0) {
        std::fputs("talvoro_probe: the device monitor could not start\n", stderr);
        return 1;
    }
    std::puts("watching for Talvoro mice; Ctrl+C stops");
    std::fflush(stdout);
    Event event{};
    while (queue.next(event))
        print_event(event);
    Close_DevMonitor();
    // Close announces every mouse still tracked as removed.
    g_interrupted = false;
    return 0;
}

}  // namespace talvoro
