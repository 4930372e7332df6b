// Kernel uevents about hidraw nodes: the datagrams of a NETLINK_KOBJECT_UEVENT socket, read as
// plain bytes so that any buffer (short, unterminated, hostile) can be handed in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "watch/device_watch.h"

namespace talvoro::watch {

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

// What an add or remove of a hidraw node means: the node (the end of DEVPATH, in `node_folder`)
// arrived or went, with the ids of its HID device (the nearest parent in DEVPATH with a HID
// name). Nothing for other subsystems and actions, a DEVPATH without a HID device, or a DEVNAME
// that is not the node's name.
std::optional<DeviceChange> hidraw_change(const Uevent& event, const std::string& node_folder);

}  // namespace talvoro::watch
