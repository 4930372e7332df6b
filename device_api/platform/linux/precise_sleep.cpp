#include "precise_sleep.h"

#include <thread>

namespace talvoro {

void precise_sleep(std::chrono::milliseconds duration) {
    // sleep_until on the steady clock is not cut short by signals and does
    // not drift with wall-clock changes; Linux timers are exact enough.
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + duration);
}

}  // namespace talvoro
