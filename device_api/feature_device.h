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
    // The report descriptor, kept only while the interface is tested, or
    // for as long as a monitor tracks it.
    std::vector<uint8_t> preparsed_data;
    hid::HidCaps caps;
    hid::HidAttributes attributes;
    // Report buffers, allocated only in monitor mode.
    std::vector<uint8_t> input_report;
    std::vector<uint8_t> output_report;

    // Closes the handle and frees everything the record holds.
    void release();
};

enum class EnumerateMode {
    kFeature,  // take over the first match as the feature device
    kMonitor,  // hand every match to the monitor
};

// Opens `where` and runs the four identification tests in order: usage page
// 0xFF01, usage 2, vendor id, product id. Returns true on a match with the
// handle open in `record`; otherwise the record is released and `why` (when
// given) says what failed.
bool identify(const hid::InterfacePath& where, HidDeviceRecord& record, std::string* why);

// identify(), then: feature mode makes a match the module's feature device;
// monitor mode keeps the handle and allocates the report buffers.
bool open_by_path(const hid::InterfacePath& where, HidDeviceRecord& record, EnumerateMode mode);

// Walks every present interface. Feature mode stops at the first match and
// returns 1 if one was taken over, else 0. Monitor mode offers each match to
// `track`; a false answer ends the walk. Returns the number tracked.
int enumerate(EnumerateMode mode,
              const std::function<bool(std::unique_ptr<HidDeviceRecord>)>& track = {});

// The module's feature device, null when none is open.
hid::HidHandle* feature_device();

}  // namespace talvoro
