#include "platform/linux/hidraw_uevent.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "platform/hid_interface_name.h"

namespace talvoro::platform {
namespace {

constexpr uint16_t kBusUsb = 0x0003;

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

bool is_decimal(std::string_view text) {
    if (text.empty() || text.size() > 3) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// The interface number of a USB interface's sysfs name, "<port path>:<config>.<interface>".
std::optional<unsigned> usb_interface_number(std::string_view name) {
    const size_t colon = name.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    const std::string_view tail = name.substr(colon + 1);
    const size_t dot = tail.find('.');
    if (dot == std::string_view::npos || !is_decimal(tail.substr(0, dot)) ||
        !is_decimal(tail.substr(dot + 1))) {
        return std::nullopt;
    }
    unsigned number = 0;
    const std::string_view digits = tail.substr(dot + 1);
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

std::vector<std::string_view> path_parts(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        if (!part.empty()) {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return parts;
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

std::optional<DeviceChange> hidraw_device_change(const Uevent& event) {
    if (event.subsystem != "hidraw") {
        return std::nullopt;
    }
    uint32_t code = 0;
    if (event.action == "add") {
        code = kDeviceArrival;
    } else if (event.action == "remove") {
        code = kDeviceRemoveComplete;
    } else {
        return std::nullopt;
    }
    // .../1-2:1.1/0003:1209:0001.0005/hidraw/hidraw3: the HID device is the nearest parent
    // with a HID name, and on USB its own parent is the interface.
    const std::vector<std::string_view> parts = path_parts(event.devpath);
    for (size_t i = parts.size(); i-- > 0;) {
        const auto device = parse_hid_device_name(parts[i]);
        if (!device) {
            continue;
        }
        std::optional<unsigned> interface_number;
        if (device->bus == kBusUsb && i > 0) {
            interface_number = usb_interface_number(parts[i - 1]);
        }
        return DeviceChange{code, kDeviceTypeInterface,
                            hid_interface_name(device->vendor, device->product, interface_number,
                                               device->instance)};
    }
    return std::nullopt;
}

}  // namespace talvoro::platform
