// HID report descriptors of the mouse's two interfaces, as the device sends
// them: the library parses them exactly like a hidraw node's.
#pragma once

#include <cstdint>
#include <span>

namespace talvoro::virtual_mouse {

// Interface 1: vendor page 0xFF01, usage 2, the four feature reports.
std::span<const uint8_t> configuration_descriptor();

// Interface 0: an ordinary mouse (buttons, X, Y, wheel), no report ids.
std::span<const uint8_t> pointer_descriptor();

}  // namespace talvoro::virtual_mouse
