// The connection between the library and one interface of a virtual mouse, as each system
// carries it (linux/: a SOCK_SEQPACKET socket; windows/: a message-mode named pipe). The
// requests and replies it carries are those of virtual_wire.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hid/hid_device.h"

namespace talvoro::hid {

class VirtualLink {
  public:
    virtual ~VirtualLink() = default;

    // Sends one request packet and receives its one reply into `reply`; the reply's length, or
    // -1 when the mouse has gone, did not answer within virtual_wire::kReplyTimeoutSeconds, or
    // sent more than `capacity` bytes.
    virtual long exchange(const uint8_t* request, size_t length, uint8_t* reply,
                          size_t capacity) = 0;
    // Ready once the mouse has closed the connection (it never speaks unasked).
    virtual EventSource event_source() = 0;
    // False once the mouse has closed the connection.
    virtual bool connected() = 0;
};

// Connects to the interface announced at `path` in the virtual-HID folder; null, with `why`
// set, when no mouse serves it.
std::unique_ptr<VirtualLink> connect_virtual_link(const std::string& path, std::string& why);

// Appends `folder`/<file> for each interface file in `folder`, sorted. Linux lists every
// socket; Windows only the files whose pipe a live mouse serves, as a killed mouse leaves its
// files behind.
void list_virtual_links(const std::string& folder, std::vector<std::string>& paths);

}  // namespace talvoro::hid
