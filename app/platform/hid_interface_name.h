// Device-interface names of HID interfaces in the Windows form, the one text the device link
// recognises the mouse by.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvoro::platform {

// The class of HID interfaces, written as Windows writes it in interface names.
inline constexpr const char* kHidInterfaceClass = "{4d1e55b2-f16f-11cf-88cb-001111000030}";

// \\?\HID#VID_vvvv&PID_pppp[&MI_nn]#<instance>#{hid class}: the ids as four upper-case hex
// digits, the interface number as two, left out when there is none. Characters of `instance`
// that would end a field early ('#', '\', control characters) become '_'.
std::string hid_interface_name(uint16_t vendor, uint16_t product,
                               std::optional<unsigned> interface_number, std::string_view instance);

}  // namespace talvoro::platform
