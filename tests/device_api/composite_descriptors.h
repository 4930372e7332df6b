// Report descriptors that put the configuration collection behind others, as
// composite devices do, written to files for the virtual mouse's
// --config-descriptor.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "report_descriptors.h"

namespace talvoro::test {

using Descriptor = std::vector<uint8_t>;

// A keyboard (no report id) with an LED output report.
inline const Descriptor kKeyboardCollection = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15,
    0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x05, 0x05, 0x08,
    0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0xC0};

// Consumer control, report 0x20, two 16-bit usages.
inline const Descriptor kConsumerCollection = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x20,
                                               0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0};

// A vendor collection of the mouse's own page with usage 1 and one 32-byte
// feature report 0x70, and a reserved-type item (the kernel skips those).
inline const Descriptor kOtherVendorCollection = {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                                                  0x85, 0x70, 0x75, 0x08, 0x95, 0x1F, 0x0D,
                                                  0x00, 0x09, 0x01, 0xB1, 0x02, 0xC0};

// Usage 2 on another vendor page.
inline const Descriptor kForeignPageCollection = {0x06, 0x00, 0xFF, 0x09, 0x02, 0xA1,
                                                  0x01, 0x85, 0x71, 0x75, 0x08, 0x95,
                                                  0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0};

// The collections in order, then, when `with_configuration`, the mouse's own
// configuration collection last.
inline Descriptor composite(std::initializer_list<const Descriptor*> before,
                            bool with_configuration = true) {
    Descriptor all;
    for (const Descriptor* part : before)
        all.insert(all.end(), part->begin(), part->end());
    if (with_configuration) {
        const auto own = virtual_mouse::configuration_descriptor();
        all.insert(all.end(), own.begin(), own.end());
    }
    return all;
}

// Writes `bytes` to `path` and returns the path.
inline std::string write_descriptor(const std::string& path, const Descriptor& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace talvoro::test
