// The set-wait-get exchange shared by every command of the command report.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>

#include "protocol.h"
#include "talvoro_api.h"

namespace talvoro {

using CommandReport = std::array<uint8_t, protocol::kCommandLength>;

// Sends command `code` with `slot` in the first argument byte, waits `wait`
// and reads the reply into `reply`. Returns 1 (reply valid), 3 (a transfer
// failed; no wait is made after a failed request) or 255 (status not 1).
QxStatus command_exchange(uint8_t code, uint8_t slot, std::chrono::milliseconds wait,
                          CommandReport& reply);

}  // namespace talvoro
