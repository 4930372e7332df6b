// Windows sleeps in steps of its timer tick, 15.6 ms unless someone asked for
// less: a 10 ms protocol wait would become 15.6 or 31.2. A high-resolution
// waitable timer is exact without changing the tick for the whole system;
// where it is refused (older Windows, Wine), the tick is lowered to 1 ms for
// the length of the wait.
#include <windows.h>
// After windows.h, whose types it uses.
#include <timeapi.h>

#include <algorithm>

#include "platform/windows/unique_handle.h"
#include "precise_sleep.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace talvoro {
namespace {

using Clock = std::chrono::steady_clock;

// Waits for `timer` set to `left`; false when the timer cannot be used.
bool wait_on_timer(HANDLE timer, Clock::duration left) {
    LARGE_INTEGER due;
    // Relative due times are negative, in 100 ns units; round up.
    const auto ticks =
        (std::chrono::duration_cast<std::chrono::nanoseconds>(left).count() + 99) / 100;
    due.QuadPart = -std::max<long long>(ticks, 1);
    if (!SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        return false;
    return WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0;
}

}  // namespace

void precise_sleep(std::chrono::milliseconds duration) {
    if (duration.count() <= 0)
        return;
    const auto deadline = Clock::now() + duration;
    windows::UniqueHandle timer(CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
    const bool fine_tick = !timer && timeBeginPeriod(1) == TIMERR_NOERROR;
    if (!timer)
        timer.reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
    // A timer may fire a little early by the steady clock's reckoning: wait
    // again for what is left.
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        if (timer && wait_on_timer(timer.get(), deadline - now))
            continue;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        Sleep(static_cast<DWORD>(std::max<long long>(left.count(), 1)));
    }
    if (fine_tick)
        timeEndPeriod(1);
}

}  // namespace talvoro
