// Serving the mouse on the system's own transport (each system's own, under linux/ and
// windows/): Unix sockets and signals on Linux, named pipes and named events on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "options.h"
#include "virtual_firmware.h"

namespace talvoro::virtual_mouse {

// False, with `error` set, when an interface file's path is too long for the system.
[[nodiscard]] bool interface_paths_fit(const Options& options, std::string* error);

// Creates the virtual-HID folder if it is missing (private to this user); the trust test that
// follows decides whether it may be served into.
[[nodiscard]] bool ensure_folder(const std::string& folder, std::string* error);

// Takes the requests to unplug, plug in and stop, starts the watch on the parent process when
// asked for, plugs the mouse in, calls `ready`, and serves until told to stop. Returns the exit
// status; failures are reported on standard error.
int serve(const Options& options, std::span<const uint8_t> configuration, VirtualFirmware& firmware,
          const std::function<void()>& ready);

}  // namespace talvoro::virtual_mouse
