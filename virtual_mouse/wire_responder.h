// Answers the request packets of the virtual-HID wire format for one
// interface of the mouse.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host_session.h"
#include "virtual_firmware.h"

namespace talvoro::virtual_mouse {

struct InterfaceIdentity {
    int number = 0;
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t version = 0;
    std::span<const uint8_t> descriptor;
    // Feature reports go to the firmware; on other interfaces they fail.
    bool has_feature_reports = false;
};

// USB device release number the mouse reports (bcdDevice 1.00).
inline constexpr uint16_t kDeviceVersion = 0x0100;

// The reply packet to one request packet. Malformed requests get kFailed.
std::vector<uint8_t> answer_packet(const InterfaceIdentity& interface, VirtualFirmware& firmware,
                                   HostSession& host, std::span<const uint8_t> packet,
                                   TimePoint now);

// One line for --verbose: op, report id, command byte, and the reply.
std::string describe_exchange(const InterfaceIdentity& interface, std::span<const uint8_t> packet,
                              std::span<const uint8_t> reply);

}  // namespace talvoro::virtual_mouse
