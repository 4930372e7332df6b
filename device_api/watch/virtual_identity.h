// Which ids the virtual mouse behind an interface file answers with.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace talvoro::watch {

struct VirtualIdentity {
    uint16_t vendor = 0;
    uint16_t product = 0;
};

// One info request to the interface at `path`. Nothing when it is no interface, nobody listens, or
// no well-formed answer comes within `timeout` (on Windows, within the pipe's own reply limit).
std::optional<VirtualIdentity> query_virtual_identity(const std::string& path,
                                                      std::chrono::milliseconds timeout);

}  // namespace talvoro::watch
