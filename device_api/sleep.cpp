#include "sleep.h"

#include <atomic>

#include "precise_sleep.h"

namespace talvoro {
namespace {

std::atomic<SleepFunction> g_sleep{&precise_sleep};

}  // namespace

void protocol_sleep(std::chrono::milliseconds duration) {
    g_sleep.load()(duration);
}

SleepFunction set_sleep_function(SleepFunction function) {
    return g_sleep.exchange(function != nullptr ? function : &precise_sleep);
}

}  // namespace talvoro
