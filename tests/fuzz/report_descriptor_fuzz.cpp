// The report-descriptor parser on any bytes a hidraw node or a virtual mouse may hand over.
// Beyond no crash: the result depends on the bytes alone (two parses agree), a descriptor over
// the kernel's limit is refused, and no collection is claimed that three bytes could not hold
// (a Collection item and its End Collection), so a short buffer never yields phantom devices.
#include "feature_device.h"
#include "fuzz_support.h"
#include "hid/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro;
    const std::vector<hid::HidCaps> first = hid::parse_report_descriptor(data, size);
    const std::vector<hid::HidCaps> second = hid::parse_report_descriptor(data, size);
    FUZZ_CHECK(first.size() == second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        FUZZ_CHECK(first[i].usage_page == second[i].usage_page);
        FUZZ_CHECK(first[i].usage == second[i].usage);
        FUZZ_CHECK(first[i].input_report_byte_length == second[i].input_report_byte_length);
        FUZZ_CHECK(first[i].output_report_byte_length == second[i].output_report_byte_length);
        FUZZ_CHECK(first[i].feature_report_byte_length == second[i].feature_report_byte_length);
    }
    FUZZ_CHECK(size <= hid::kMaxDescriptorSize || first.empty());
    FUZZ_CHECK(first.size() <= size / 3);
    // Identification reads every collection the parser returns, as the library does.
    hid::HidAttributes attributes{};
    attributes.vendor_id = TALVORO_VENDOR_ID;
    attributes.product_id = TALVORO_PRODUCT_ID;
    for (const hid::HidCaps& collection : first) {
        FUZZ_CHECK(passed_over_text(first_failed_test(collection, attributes)) != nullptr);
    }
    return 0;
}
