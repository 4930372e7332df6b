#include "sleep.h"

#include <atomic>
#include <thread>

namespace talvoro {
namespace {

void real_sleep(std::chrono::milliseconds duration) {
    // sleep_until on the steady clock is not cut short by signals and does
    // not drift with wall-clock changes.
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + duration);
}

std::atomic<SleepFunction> g_sleep{&real_sleep};

}  // namespace

void protocol_sleep(std::chrono::milliseconds duration) {
    g_sleep.load()(duration);
}

SleepFunction set_sleep_function(SleepFunction function) {
    return g_sleep.exchange(function != nullptr ? function : &real_sleep);
}

}  // namespace talvoro
