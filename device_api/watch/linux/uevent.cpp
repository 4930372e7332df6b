#include "watch/linux/uevent.h"

#include <charconv>
#include <cstring>

namespace talvoro::watch {
namespace {

bool is_hex(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        const bool digit =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit) {
            return false;
        }
    }
    return true;
}

std::optional<uint16_t> hex4(std::string_view text) {
    if (text.size() != 4 || !is_hex(text)) {
        return std::nullopt;
    }
    uint16_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return value;
}

// The last '/'-separated part of `path` that is a HID device's name.
std::optional<HidDeviceName> nearest_hid_device(std::string_view path) {
    while (!path.empty()) {
        const size_t slash = path.rfind('/');
        const std::string_view part =
            slash == std::string_view::npos ? path : path.substr(slash + 1);
        if (auto device = parse_hid_device_name(part)) {
            return device;
        }
        if (slash == std::string_view::npos) {
            break;
        }
        path = path.substr(0, slash);
    }
    return std::nullopt;
}

}  // namespace

std::optional<Uevent> parse_uevent(std::span<const uint8_t> datagram) {
    const auto* bytes = reinterpret_cast<const char*>(datagram.data());
    const size_t size = datagram.size();
    auto field_at = [&](size_t at) {
        return std::string_view(bytes + at, strnlen(bytes + at, size - at));
    };
    if (size == 0) {
        return std::nullopt;
    }
    const std::string_view header = field_at(0);
    const size_t at_sign = header.find('@');
    if (at_sign == std::string_view::npos) {
        return std::nullopt;  // udev's datagrams, or no header at all
    }
    Uevent event;
    bool have_action = false;
    bool have_devpath = false;
    for (size_t at = header.size() + 1; at < size;) {
        const std::string_view field = field_at(at);
        at += field.size() + 1;
        if (field.starts_with("ACTION=")) {
            event.action = field.substr(7);
            have_action = true;
        } else if (field.starts_with("DEVPATH=")) {
            event.devpath = field.substr(8);
            have_devpath = true;
        } else if (field.starts_with("SUBSYSTEM=")) {
            event.subsystem = field.substr(10);
        } else if (field.starts_with("DEVNAME=")) {
            event.devname = field.substr(8);
        }
    }
    if (!have_action || !have_devpath || event.action.empty() || event.devpath.empty()) {
        return std::nullopt;
    }
    // The header repeats both; a datagram that says two things is not believed.
    if (header.substr(0, at_sign) != event.action || header.substr(at_sign + 1) != event.devpath) {
        return std::nullopt;
    }
    return event;
}

std::optional<HidDeviceName> parse_hid_device_name(std::string_view name) {
    // BBBB:VVVV:PPPP.IIII
    if (name.size() < 16 || name[4] != ':' || name[9] != ':' || name[14] != '.') {
        return std::nullopt;
    }
    const auto bus = hex4(name.substr(0, 4));
    const auto vendor = hex4(name.substr(5, 4));
    const auto product = hex4(name.substr(10, 4));
    const std::string_view instance = name.substr(15);
    if (!bus || !vendor || !product || !is_hex(instance) || instance.size() > 8) {
        return std::nullopt;
    }
    return HidDeviceName{*bus, *vendor, *product, std::string(instance)};
}

std::optional<DeviceChange> hidraw_change(const Uevent& event, const std::string& node_folder) {
    if (event.subsystem != "hidraw") {
        return std::nullopt;
    }
    ChangeKind kind;
    if (event.action == "add") {
        kind = ChangeKind::kArrived;
    } else if (event.action == "remove") {
        kind = ChangeKind::kRemoved;
    } else {
        return std::nullopt;
    }
    // The node is named by the end of DEVPATH, "hidraw3", which DEVNAME (its name under /dev)
    // must repeat when it is there: a datagram that says two things is not believed.
    const std::string node = event.devpath.substr(event.devpath.rfind('/') + 1);
    if (node.empty() || node == "." || node == ".." ||
        (!event.devname.empty() && event.devname != node)) {
        return std::nullopt;
    }
    // .../1-2:1.1/0003:1209:0001.0005/hidraw/hidraw3
    const auto device = nearest_hid_device(event.devpath);
    if (!device) {
        return std::nullopt;
    }
    return DeviceChange{kind, InterfaceOrigin::kSystem, device->vendor, device->product,
                        node_folder + "/" + node};
}

}  // namespace talvoro::watch
