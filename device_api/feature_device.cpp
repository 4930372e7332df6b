#include "feature_device.h"

#include <algorithm>

#include "debug_output.h"
#include "protocol.h"
#include "talvoro_api.h"

namespace talvoro {
namespace {

// The one feature device of the module. The library serves one exchange at a
// time on its caller's thread, as the protocol's set-wait-get sequences need.
std::unique_ptr<hid::HidHandle> g_feature_device;

bool fail(HidDeviceRecord& record, std::string* why, std::string reason) {
    record.release();
    if (why != nullptr)
        *why = std::move(reason);
    return false;
}

}  // namespace

void HidDeviceRecord::release() {
    handle.reset();
    input_report.clear();
    input_report.shrink_to_fit();
    output_report.clear();
    output_report.shrink_to_fit();
}

IdentificationTest first_failed_test(const hid::HidCaps& collection,
                                     const hid::HidAttributes& attributes) {
    if (collection.usage_page != protocol::kUsagePage)
        return IdentificationTest::kUsagePage;
    if (collection.usage != protocol::kUsage)
        return IdentificationTest::kUsage;
    if (attributes.vendor_id != protocol::kVendorId)
        return IdentificationTest::kVendorId;
    if (attributes.product_id != protocol::kProductId)
        return IdentificationTest::kProductId;
    return IdentificationTest::kPassed;
}

const char* passed_over_text(IdentificationTest test) {
    switch (test) {
        case IdentificationTest::kPassed:
            return "configuration collection";
        case IdentificationTest::kUsagePage:
            return "not the configuration collection (usage page)";
        case IdentificationTest::kUsage:
            return "not the configuration collection (usage)";
        case IdentificationTest::kVendorId:
            return "another vendor";
        case IdentificationTest::kProductId:
            return "another product";
    }
    return "unknown";
}

bool identify(const hid::InterfacePath& where, HidDeviceRecord& record, std::string* why) {
    record.path = where.path;
    record.collections.clear();
    record.caps = {};
    std::string reason;
    record.handle = where.backend->open(where.path, reason);
    if (!record.handle)
        return fail(record, why, "cannot open: " + reason);
    if (!record.handle->collections(record.collections))
        return fail(record, why, "no HID capabilities");
    if (!record.handle->attributes(record.attributes))
        return fail(record, why, "unreadable attributes");
    // The tests are ordered, so the later the failed one, the closer the miss.
    IdentificationTest closest = IdentificationTest::kUsagePage;
    for (const hid::HidCaps& collection : record.collections) {
        const IdentificationTest failed = first_failed_test(collection, record.attributes);
        if (failed == IdentificationTest::kPassed) {
            record.caps = collection;
            return true;
        }
        closest = std::max(closest, failed);
    }
    return fail(record, why, passed_over_text(closest));
}

bool open_by_path(const hid::InterfacePath& where, HidDeviceRecord& record, EnumerateMode mode) {
    std::string why;
    if (!identify(where, record, &why)) {
        debug_printf("passed over %s: %s\n", where.path.c_str(), why.c_str());
        return false;
    }
    if (mode == EnumerateMode::kFeature) {
        debug_output("OpenFeatureDevice Success\n");
        g_feature_device = std::move(record.handle);
        record.release();
        return true;
    }
    debug_output("OpenHidDevice Success\n");
    record.input_report.assign(record.caps.input_report_byte_length, 0);
    record.output_report.assign(record.caps.output_report_byte_length, 0);
    return true;
}

int enumerate(EnumerateMode mode,
              const std::function<bool(std::unique_ptr<HidDeviceRecord>)>& track) {
    int taken = 0;
    for (const hid::InterfacePath& where : hid::list_interfaces()) {
        auto node = std::make_unique<HidDeviceRecord>();
        if (!open_by_path(where, *node, mode))
            continue;
        if (mode == EnumerateMode::kFeature)
            return 1;
        if (!track || !track(std::move(node)))
            break;
        ++taken;
    }
    return taken;
}

hid::HidHandle* feature_device() {
    return g_feature_device.get();
}

}  // namespace talvoro

using talvoro::g_feature_device;

extern "C" {

int Open_QX_device(void) {
    // A handle still held is closed first, so repeated opens never leak one.
    g_feature_device.reset();
    return talvoro::enumerate(talvoro::EnumerateMode::kFeature);
}

int Close_QX_device(void) {
    g_feature_device.reset();
    return 1;
}

int SetFeature(unsigned char* buffer, int length) {
    if (!g_feature_device || buffer == nullptr || length <= 0)
        return 0;
    return g_feature_device->set_feature(buffer, static_cast<size_t>(length)) ? 1 : 0;
}

int GetFeature(unsigned char* buffer, int length) {
    if (!g_feature_device || buffer == nullptr || length <= 0)
        return 0;
    return g_feature_device->get_feature(buffer, static_cast<size_t>(length)) ? 1 : 0;
}

// Second export names of the same two functions.
int Open_FeatureDevice(void) __attribute__((alias("Open_QX_device")));
int Close_FeatureDevice(void) __attribute__((alias("Close_QX_device")));

}  // extern "C"
