// Finding, identifying and opening the mouse's configuration interface, and
// the library's one feature device.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hid/hid_device.h"
#include "hid/report_descriptor.h"

namespace talvoro {

// One opened interface and what was learnt about it.
struct HidDeviceRecord {
    std::string path;
    std::unique_ptr<hid::HidHandle> handle;
    // Every top-level collection of the interface, in descriptor order, and
    // the one identification took (its capabilities are the record's).
    std::vector<hid::HidCaps> collections;
    hid::HidCaps caps;
    hid::HidAttributes attributes;
    // Report buffers, allocated only in monitor mode.
    std::vector<uint8_t> input_report;
    std::vector<uint8_t> output_report;

    // Closes the handle and frees every buffer; what was learnt stays.
    void release();
};

enum class EnumerateMode {
    kFeature,  // take over the first match as the feature device
    kMonitor,  // hand every match to the monitor
};

// The four identification tests, in their order.
enum class IdentificationTest { kPassed, kUsagePage, kUsage, kVendorId, kProductId };

// The first test that one top-level collection of a device fails, or kPassed.
IdentificationTest first_failed_test(const hid::HidCaps& collection,
                                     const hid::HidAttributes& attributes);

// Why a collection that failed `test` was passed over.
const char* passed_over_text(IdentificationTest test);

// Opens `where` and offers each top-level collection, in descriptor order, to
// the four identification tests, as if each were a device of its own. Returns
// true on the first match, with the handle open in `record` and that
// collection's capabilities in `record.caps`; otherwise the record is
// released and `why` (when given) says what failed: for a node of several
// collections, the reason of the one that came closest.
[[nodiscard]] bool identify(const hid::InterfacePath& where, HidDeviceRecord& record, std::string* why);

// identify(), then: feature mode makes a match the module's feature device;
// monitor mode keeps the handle and allocates the report buffers.
[[nodiscard]] bool open_by_path(const hid::InterfacePath& where, HidDeviceRecord& record, EnumerateMode mode);

// Walks every present interface. Feature mode stops at the first match and
// returns 1 if one was taken over, else 0. Monitor mode offers each match to
// `track`; a false answer ends the walk. Returns the number tracked.
int enumerate(EnumerateMode mode,
              const std::function<bool(std::unique_ptr<HidDeviceRecord>)>& track = {});

// The module's feature device, null when none is open.
hid::HidHandle* feature_device();

}  // namespace talvoro
