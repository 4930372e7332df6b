// One HID interface arriving or leaving, as the device watch reports it.
#pragma once

#include <cstdint>
#include <string>

namespace talvoro::watch {

enum class ChangeKind : uint8_t { kArrived, kRemoved };

enum class InterfaceOrigin : uint8_t {
    kSystem,   // a node of the system's HID driver; it may take a moment to become openable
    kVirtual,  // a virtual mouse's interface, ready when announced
};

struct DeviceChange {
    ChangeKind kind = ChangeKind::kArrived;
    InterfaceOrigin origin = InterfaceOrigin::kSystem;
    uint16_t vendor = 0;
    uint16_t product = 0;
    // What the HID layer opens: a hidraw node, or a virtual interface file.
    std::string path;

    bool operator==(const DeviceChange&) const = default;
};

}  // namespace talvoro::watch
