// The device monitor's internals that tests and tools reach: the platform
// family its power handling follows, injected power events, and its state.
#pragma once

#include <cstdint>

#include "talvoro_api.h"

namespace talvoro {

// Platform families of the power handling. Linux behaves as the NT family:
// tracked devices stay through a suspend.
inline constexpr int kPlatformWindows95 = 1;
inline constexpr int kPlatformNt = 2;

void set_monitor_platform_id(int platform_id);
// Hands a power event to the monitor's thread, as the system would.
void inject_monitor_power_event(uint32_t event);
bool monitor_running();
// Returns once the monitor's thread has handled everything that reached it
// before the call (work handed to it and the events already waiting).
void monitor_barrier();

}  // namespace talvoro
