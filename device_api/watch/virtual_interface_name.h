// The file names of virtual mice's interfaces in the virtual-HID folder: "<mouse>.if<N>.hid".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvoro::watch {

struct VirtualInterfaceName {
    std::string mouse;  // the mouse's name, "talvoro"
    unsigned interface_number = 0;
};

// Nothing for any other file name: an empty mouse name, or N not one to three digits.
std::optional<VirtualInterfaceName> parse_virtual_interface_name(std::string_view file_name);

}  // namespace talvoro::watch
