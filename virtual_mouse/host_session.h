// The exchange in progress between one host connection and the mouse: the
// reply its last request earned and when that reply becomes valid. Each
// connection has its own, while the flash state is shared.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol.h"

namespace talvoro::virtual_mouse {

using TimePoint = std::chrono::steady_clock::time_point;

struct HostSession {
    // Reply to the last command- or bulk-report request.
    struct CommandReply {
        uint8_t report_id = 0;       // report the reply is read on
        TimePoint ready_at{};        // not valid before this
        std::vector<uint8_t> bytes;  // the whole report, id byte included
        bool first_chunk = false;    // answers chunk 0 of a profile transfer
    };
    // Last control-report request.
    struct Control {
        uint8_t status = 0;
        unsigned busy_left = 0;
        // Flash block asked for, readable on the flash report from ready_at.
        std::optional<uint8_t> flash_block;
        TimePoint ready_at{};
    };

    std::optional<CommandReply> command;
    std::optional<Control> control;
};

}  // namespace talvoro::virtual_mouse
