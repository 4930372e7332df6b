#include "wire_responder.h"

#include <cstdio>

#include "hid/virtual/virtual_wire.h"
#include "protocol.h"

namespace talvoro::virtual_mouse {

namespace {

namespace wire = hid::virtual_wire;

constexpr size_t kInfoHeader = 1 + 3 * 2;      // reply byte, vendor, product, version
constexpr size_t kGetRequestSize = 1 + 2 + 1;  // op, length, report id

std::vector<uint8_t> failed() {
    return {wire::kFailed};
}

std::vector<uint8_t> answer_info(const InterfaceIdentity& interface) {
    if (interface.descriptor.size() > wire::kMaxPacket - kInfoHeader)
        return failed();
    std::vector<uint8_t> reply(kInfoHeader, 0);
    reply[0] = wire::kOk;
    wire::put_u16(&reply[1], interface.vendor_id);
    wire::put_u16(&reply[3], interface.product_id);
    wire::put_u16(&reply[5], interface.version);
    reply.insert(reply.end(), interface.descriptor.begin(), interface.descriptor.end());
    return reply;
}

}  // namespace

std::vector<uint8_t> answer_packet(const InterfaceIdentity& interface, VirtualFirmware& firmware,
                                   HostSession& host, std::span<const uint8_t> packet,
                                   TimePoint now) {
    if (packet.empty())
        return failed();
    switch (packet[0]) {
        case wire::kInfo:
            return packet.size() == 1 ? answer_info(interface) : failed();
        case wire::kSetFeature: {
            if (!interface.has_feature_reports || packet.size() < 2)
                return failed();
            const bool done = firmware.set_feature(host, packet.data() + 1, packet.size() - 1, now);
            return {done ? wire::kOk : wire::kFailed};
        }
        case wire::kGetFeature: {
            if (!interface.has_feature_reports || packet.size() != kGetRequestSize)
                return failed();
            const size_t length = wire::get_u16(&packet[1]);
            if (length == 0 || length > wire::kMaxPacket - 1)
                return failed();
            std::vector<uint8_t> reply(1 + length, 0);
            reply[1] = packet[3];
            if (!firmware.get_feature(host, reply.data() + 1, length, now))
                return failed();
            reply[0] = wire::kOk;
            return reply;
        }
        default:
            return failed();
    }
}

std::string describe_exchange(const InterfaceIdentity& interface, std::span<const uint8_t> packet,
                              std::span<const uint8_t> reply) {
    char line[128];
    const char* result = !reply.empty() && reply[0] == wire::kOk ? "ok" : "failed";
    const int number = interface.number;
    if (packet.empty()) {
        std::snprintf(line, sizeof line, "if%d: empty request -> %s", number, result);
    } else if (packet[0] == wire::kInfo) {
        std::snprintf(line, sizeof line, "if%d: info -> %s", number, result);
    } else if (packet[0] == wire::kSetFeature && packet.size() > 1 + protocol::kArgChunk) {
        // Packet offsets are report offsets plus the op byte.
        std::snprintf(
            line, sizeof line, "if%d: set 0x%02X byte 1 0x%02X, 4..6 %u %u %u (%zu bytes) -> %s",
            number, packet[1], packet[1 + protocol::kCodeByte],
            static_cast<unsigned>(packet[1 + protocol::kControlFlashBlockByte]),
            static_cast<unsigned>(packet[1 + protocol::kArgSlot]),
            static_cast<unsigned>(packet[1 + protocol::kArgChunk]), packet.size() - 1, result);
    } else if (packet[0] == wire::kGetFeature && packet.size() == kGetRequestSize) {
        const unsigned status =
            reply.size() > 1 + protocol::kCodeByte ? reply[1 + protocol::kCodeByte] : 0u;
        std::snprintf(line, sizeof line, "if%d: get 0x%02X (%u bytes) -> %s, byte 1 = 0x%02X",
                      number, packet[3], static_cast<unsigned>(wire::get_u16(&packet[1])), result,
                      status);
    } else {
        std::snprintf(line, sizeof line, "if%d: request 0x%02X (%zu bytes) -> %s", number,
                      packet[0], packet.size(), result);
    }
    return line;
}

}  // namespace talvoro::virtual_mouse
