// Kernel uevents about hidraw nodes: the datagrams of a NETLINK_KOBJECT_UEVENT socket, read as
// plain bytes so that any buffer (short, unterminated, hostile) can be handed in.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/device_watcher.h"

namespace talvoro::platform {

struct Uevent {
    std::string action;  // "add", "remove", "bind" ...
    std::string devpath;
    std::string subsystem;
    std::string devname;
};

// "action@devpath", then NUL-separated KEY=value fields; the last one need not be terminated.
// Nothing for a datagram without that header (udev's own "libudev" datagrams included) or
// without ACTION or DEVPATH, or whose header disagrees with them.
std::optional<Uevent> parse_uevent(std::span<const uint8_t> datagram);

// A HID device's sysfs name, "0003:1209:0001.0005": bus, vendor, product, instance.
struct HidDeviceName {
    uint16_t bus = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::string instance;  // the hex digits after the '.'
};
std::optional<HidDeviceName> parse_hid_device_name(std::string_view name);

// What an add or remove of a hidraw node means: an arrival or removal named after the node's
// HID device (found in DEVPATH) and, on USB, the interface number of its parent
// ("1-2:1.1" is interface 1). Nothing for other subsystems and actions, or a DEVPATH without a
// HID device.
std::optional<DeviceChange> hidraw_device_change(const Uevent& event);

}  // namespace talvoro::platform
