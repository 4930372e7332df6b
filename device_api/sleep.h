// Every protocol wait of the library goes through this one function, so unit
// tests can replace it and run without waiting.
#pragma once

#include <chrono>

namespace talvoro {

using SleepFunction = void (*)(std::chrono::milliseconds);

// Waits `duration` (by default on the steady clock, resuming after signals).
void protocol_sleep(std::chrono::milliseconds duration);

// Installs `function` as the sleep (null restores the real one) and returns
// the previous one.
SleepFunction set_sleep_function(SleepFunction function);

}  // namespace talvoro
