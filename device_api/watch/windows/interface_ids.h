// The vendor and product a Windows HID interface path names. The system announces an interface
// by its path alone, and by the time its removal is announced it can no longer be opened.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talvoro::watch {

struct InterfaceIds {
    uint16_t vendor = 0;
    uint16_t product = 0;
};

// USB interfaces read "\\?\HID#VID_046D&PID_C077&MI_00#…", Bluetooth ones
// "…_VID&0002046d_PID&b01e…" (a source prefix before the four digits). Nothing when the path names
// no four-digit pair; letters in either case.
std::optional<InterfaceIds> interface_ids_from_path(std::string_view path);

}  // namespace talvoro::watch
