// The real wait behind protocol_sleep(), one per platform: it must not
// overshoot by more than a millisecond or two, as the mouse's timing is
// measured in tens of milliseconds.
#pragma once

#include <chrono>

namespace talvoro {

// Waits at least `duration` on the steady clock, resuming after interruptions.
void precise_sleep(std::chrono::milliseconds duration);

}  // namespace talvoro
