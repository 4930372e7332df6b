// The interface sockets of virtual mice in the virtual-HID folder: what their file names say and
// which ids the mouse behind one answers with.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvoro::platform {

struct VirtualSocketName {
    std::string mouse;  // the mouse's name, "talvoro"
    unsigned interface_number = 0;
};

// "<mouse>.if<N>.hid" with a non-empty mouse name and N of one to three digits; nothing for any
// other file name.
std::optional<VirtualSocketName> parse_virtual_socket_name(std::string_view file_name);

struct VirtualIdentity {
    uint16_t vendor = 0;
    uint16_t product = 0;
};

// One info request to the socket at `path`. Nothing when it is no socket, nobody listens, or no
// well-formed answer comes within `timeout`.
std::optional<VirtualIdentity> query_virtual_identity(const std::string& path,
                                                      std::chrono::milliseconds timeout);

}  // namespace talvoro::platform
