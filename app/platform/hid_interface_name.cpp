#include "platform/hid_interface_name.h"

#include <cstdio>

namespace talvoro::platform {

std::string hid_interface_name(uint16_t vendor, uint16_t product,
                               std::optional<unsigned> interface_number,
                               std::string_view instance) {
    char ids[40];
    if (interface_number) {
        std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X&MI_%02X", vendor, product,
                      *interface_number & 0xFFu);
    } else {
        std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X", vendor, product);
    }
    std::string name = "\\\\?\\HID#";
    name += ids;
    name += '#';
    for (char c : instance) {
        const bool breaks_field = c == '#' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
        name += breaks_field ? '_' : c;
    }
    name += '#';
    name += kHidInterfaceClass;
    return name;
}

}  // namespace talvoro::platform
