// Faults the mouse shows on request, so hosts can be tested against a mouse
// that misbehaves the way real ones do.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

namespace talvoro::virtual_mouse {

struct FaultPlan {
    // Command codes answered with status 0xFF (the mouse does not act on them).
    std::array<bool, 256> refused_codes{};
    // How long after each plug-in the firmware version reads 0xCCCC.
    std::chrono::milliseconds starting_window{0};
    // Control-status polls answered "busy" after each control request.
    unsigned busy_polls = 0;
    // Unplug when this feature request (set) on the configuration interface
    // arrives, without serving it (1 = the first); once per run.
    std::optional<uint64_t> unplug_after_requests;
    // Unplug once the first chunk of a profile read or write has been
    // answered; once per run.
    bool unplug_mid_transfer = false;
    // Replies are valid at once: for hosts whose waits are simulated, so
    // their tests need not sleep. A real mouse never does this.
    bool no_timing = false;
};

}  // namespace talvoro::virtual_mouse
