// Parser of HID report descriptors, shared by every backend: derives what the
// identification and the monitor need, for every top-level application
// collection its usage page and usage and its longest input, output and
// feature report. A hidraw node carries every collection of its interface,
// where Windows would make each one a device of its own.
//
// Limits: descriptors of at most 4096 bytes (the kernel's HID_MAX_DESCRIPTOR_SIZE),
// 16 nested pushes, 64 nested collections, 256 report ids. Every read is
// checked against the length first; a truncated or inconsistent descriptor is
// rejected as a whole. Items of the reserved type are skipped, as the kernel
// skips them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace talvoro::hid {

// What the parser derives for one top-level collection. Report lengths count
// the report-id byte, as the feature-report calls do (a descriptor without
// report ids still gets one byte for id 0); 0 means the collection has no
// report of that kind.
struct HidCaps {
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    uint16_t input_report_byte_length = 0;
    uint16_t output_report_byte_length = 0;
    uint16_t feature_report_byte_length = 0;
};

inline constexpr size_t kMaxDescriptorSize = 4096;

// Returns the capabilities of every top-level application collection in
// descriptor order; empty when the descriptor is malformed or has none.
std::vector<HidCaps> parse_report_descriptor(const uint8_t* data, size_t length);

}  // namespace talvoro::hid
