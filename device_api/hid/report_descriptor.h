// Parser of HID report descriptors, shared by every backend: derives what the
// identification and the monitor need, the top-level collection's usage page
// and usage and the longest input, output and feature report.
//
// Limits: descriptors of at most 4096 bytes (the kernel's HID_MAX_DESCRIPTOR_SIZE),
// 16 nested pushes, 64 nested collections, 256 report ids. Every read is
// checked against the length first; a truncated or inconsistent descriptor is
// rejected as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace talvoro::hid {

// What the parser derives. Report lengths count the report-id byte, as the
// feature-report calls do (a descriptor without report ids still gets one
// byte for id 0); 0 means the collection has no report of that kind.
struct HidCaps {
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    uint16_t input_report_byte_length = 0;
    uint16_t output_report_byte_length = 0;
    uint16_t feature_report_byte_length = 0;
};

inline constexpr size_t kMaxDescriptorSize = 4096;

// Returns the capabilities, or nothing when the descriptor is malformed or
// has no top-level application collection.
std::optional<HidCaps> parse_report_descriptor(const uint8_t* data, size_t length);

}  // namespace talvoro::hid
