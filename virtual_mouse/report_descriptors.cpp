#include "report_descriptors.h"

#include <fstream>
#include <iterator>

#include "hid/report_descriptor.h"
#include "protocol.h"

namespace talvoro::virtual_mouse {

namespace {

namespace p = talvoro::protocol;

constexpr uint8_t low(size_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}
constexpr uint8_t high(size_t value) {
    return static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Report Count items count data bytes, the report id byte excluded.
constexpr size_t kCommandCount = p::kCommandLength - 1;
constexpr size_t kBulkCount = p::kBulkLength - 1;
constexpr size_t kControlCount = p::kControlLength - 1;
constexpr size_t kFlashCount = p::kFlashLength - 1;
static_assert(kCommandCount <= 0xFF && kControlCount <= 0xFF, "one-byte Report Count");
static_assert(kBulkCount <= 0xFFFF && kFlashCount <= 0xFFFF, "two-byte Report Count");

// clang-format off
constexpr uint8_t kConfiguration[] = {
    // Usage Page (vendor 0xFF01), Usage (2), Collection (Application)
    0x06, low(p::kUsagePage), high(p::kUsagePage),
    0x09, low(p::kUsage),
    0xA1, 0x01,
    // Every report is bytes: Logical Minimum (0), Logical Maximum (255), Report Size (8)
    0x15, 0x00,
    0x26, 0xFF, 0x00,
    0x75, 0x08,
    // Command report: Report ID, Report Count (63), Usage, Feature (Data, Var, Abs)
    0x85, p::kCommandReport,
    0x95, low(kCommandCount),
    0x09, p::kCommandReport,
    0xB1, 0x02,
    // Bulk report: Report ID, Report Count (1040, two bytes), Usage, Feature
    0x85, p::kBulkReport,
    0x96, low(kBulkCount), high(kBulkCount),
    0x09, p::kBulkReport,
    0xB1, 0x02,
    // Control report: Report ID, Report Count (7), Usage, Feature
    0x85, p::kControlReport,
    0x95, low(kControlCount),
    0x09, p::kControlReport,
    0xB1, 0x02,
    // Flash report: Report ID, Report Count (1024, two bytes), Usage, Feature
    0x85, p::kFlashReport,
    0x96, low(kFlashCount), high(kFlashCount),
    0x09, p::kFlashReport,
    0xB1, 0x02,
    // End Collection
    0xC0,
};

constexpr uint8_t kPointer[] = {
    // Usage Page (Generic Desktop), Usage (Mouse), Collection (Application)
    0x05, 0x01,
    0x09, 0x02,
    0xA1, 0x01,
    // Usage (Pointer), Collection (Physical)
    0x09, 0x01,
    0xA1, 0x00,
    // Five buttons: Usage Page (Button), Usage Minimum (1), Usage Maximum (5),
    // Logical 0..1, Report Count (5), Report Size (1), Input (Data, Var, Abs)
    0x05, 0x09,
    0x19, 0x01,
    0x29, 0x05,
    0x15, 0x00,
    0x25, 0x01,
    0x95, 0x05,
    0x75, 0x01,
    0x81, 0x02,
    // Three padding bits: Report Count (1), Report Size (3), Input (Constant)
    0x95, 0x01,
    0x75, 0x03,
    0x81, 0x01,
    // X, Y, wheel: Usage Page (Generic Desktop), Usage X, Y, Wheel,
    // Logical -127..127, Report Size (8), Report Count (3), Input (Data, Var, Rel)
    0x05, 0x01,
    0x09, 0x30,
    0x09, 0x31,
    0x09, 0x38,
    0x15, 0x81,
    0x25, 0x7F,
    0x75, 0x08,
    0x95, 0x03,
    0x81, 0x06,
    // End Collection (Physical), End Collection (Application)
    0xC0,
    0xC0,
};
// clang-format on

}  // namespace

std::span<const uint8_t> configuration_descriptor() {
    return kConfiguration;
}

std::span<const uint8_t> pointer_descriptor() {
    return kPointer;
}

std::optional<std::vector<uint8_t>> read_descriptor_file(const std::string& path,
                                                         std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot read " + path;
        return std::nullopt;
    }
    // One byte more than allowed tells an over-long file from a full one.
    std::vector<uint8_t> bytes(hid::kMaxDescriptorSize + 1);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) {
        *error = "cannot read " + path;
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(file.gcount()));
    if (bytes.empty() || bytes.size() > hid::kMaxDescriptorSize) {
        *error = path + ": a report descriptor has 1 to " +
                 std::to_string(hid::kMaxDescriptorSize) + " bytes";
        return std::nullopt;
    }
    return bytes;
}

}  // namespace talvoro::virtual_mouse
