// HID report descriptors of the mouse's two interfaces, as the device sends
// them: the library parses them exactly like a hidraw node's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace talvoro::virtual_mouse {

// Interface 1: vendor page 0xFF01, usage 2, the four feature reports.
std::span<const uint8_t> configuration_descriptor();

// Interface 0: an ordinary mouse (buttons, X, Y, wheel), no report ids.
std::span<const uint8_t> pointer_descriptor();

// A report descriptor from a binary file, for --config-descriptor: nothing,
// with `error` set, when the file cannot be read, is empty or is longer than
// a hidraw node's descriptor may be.
std::optional<std::vector<uint8_t>> read_descriptor_file(const std::string& path,
                                                         std::string* error);

}  // namespace talvoro::virtual_mouse
