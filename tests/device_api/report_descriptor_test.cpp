// The report-descriptor parser on real-world descriptors, and on truncated,
// hostile and random ones: it must derive every top-level collection with
// its own report lengths, and never read past the bytes it is given.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "hid/report_descriptor.h"

namespace talvoro::hid {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<HidCaps> parse(const Bytes& bytes) {
    // A copy of exactly the right size, so AddressSanitizer sees any over-read.
    auto exact = std::make_unique<uint8_t[]>(bytes.size() + 1);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return parse_report_descriptor(exact.get(), bytes.size());
}

// A three-button boot mouse.
const Bytes kBootMouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,
                          0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01,
                          0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05,
                          0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81,
                          0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};

// A boot keyboard: modifier byte, reserved byte, LED output, six key slots.
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

// A vendor-page configuration collection with four numbered feature reports
// of 64, 1041, 8 and 1025 bytes (two-byte report counts for the long ones).
const Bytes kVendorCollection = {0x06, 0x01, 0xFF, 0x09, 0x02, 0xA1, 0x01, 0x15, 0x00, 0x26,
                                 0xFF, 0x00, 0x75, 0x08, 0x85, 0x60, 0x09, 0x01, 0x95, 0x3F,
                                 0xB1, 0x02, 0x85, 0x61, 0x09, 0x01, 0x96, 0x10, 0x04, 0xB1,
                                 0x02, 0x85, 0x03, 0x09, 0x01, 0x95, 0x07, 0xB1, 0x02, 0x85,
                                 0x05, 0x09, 0x01, 0x96, 0x00, 0x04, 0xB1, 0x02, 0xC0};

Bytes joined(std::initializer_list<const Bytes*> parts) {
    Bytes all;
    for (const Bytes* part : parts)
        all.insert(all.end(), part->begin(), part->end());
    return all;
}

TEST(ReportDescriptor, RealWorldDescriptors) {
    const auto mice = parse(kBootMouse);
    ASSERT_EQ(mice.size(), 1u);
    const HidCaps* mouse = &mice[0];
    EXPECT_EQ(mouse->usage_page, 0x0001);
    EXPECT_EQ(mouse->usage, 0x0002);
    EXPECT_EQ(mouse->input_report_byte_length, 4);  // 3 data bytes and the id byte
    EXPECT_EQ(mouse->output_report_byte_length, 0);
    EXPECT_EQ(mouse->feature_report_byte_length, 0);

    const auto keyboards = parse(kBootKeyboard);
    ASSERT_EQ(keyboards.size(), 1u);
    const HidCaps* keyboard = &keyboards[0];
    EXPECT_EQ(keyboard->usage_page, 0x0001);
    EXPECT_EQ(keyboard->usage, 0x0006);
    EXPECT_EQ(keyboard->input_report_byte_length, 9);
    EXPECT_EQ(keyboard->output_report_byte_length, 2);

    const auto vendors = parse(kVendorCollection);
    ASSERT_EQ(vendors.size(), 1u);
    const HidCaps* vendor = &vendors[0];
    EXPECT_EQ(vendor->usage_page, 0xFF01);
    EXPECT_EQ(vendor->usage, 0x0002);
    EXPECT_EQ(vendor->feature_report_byte_length, 1041);  // the longest numbered report
    EXPECT_EQ(vendor->input_report_byte_length, 0);
}

TEST(ReportDescriptor, EveryTopLevelCollectionWithItsOwnReports) {
    // A keyboard, a consumer control and the vendor collection third, as a
    // composite receiver puts them on one interface: each collection counts
    // only its own reports.
    const Bytes consumer = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02,
                            0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0};
    const auto three = parse(joined({&kBootKeyboard, &consumer, &kVendorCollection}));
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0].usage_page, 0x0001);
    EXPECT_EQ(three[0].usage, 0x0006);
    EXPECT_EQ(three[0].input_report_byte_length, 9);
    EXPECT_EQ(three[0].output_report_byte_length, 2);
    EXPECT_EQ(three[0].feature_report_byte_length, 0);
    EXPECT_EQ(three[1].usage_page, 0x000C);
    EXPECT_EQ(three[1].input_report_byte_length, 5);
    EXPECT_EQ(three[1].output_report_byte_length, 0);
    EXPECT_EQ(three[2].usage_page, 0xFF01);
    EXPECT_EQ(three[2].usage, 0x0002);
    EXPECT_EQ(three[2].input_report_byte_length, 0) << "the keyboard's reports do not leak in";
    EXPECT_EQ(three[2].feature_report_byte_length, 1041);

    // Nested physical and logical collections belong to their top-level one;
    // fields outside every collection belong to none.
    const Bytes nested = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xA1, 0x00, 0xA1, 0x02, 0x75, 0x08,
                          0x95, 0x03, 0x81, 0x02, 0xC0, 0xC0, 0xC0, 0x95, 0x20, 0xB1, 0x02, 0x06,
                          0x01, 0xFF, 0x09, 0x02, 0xA1, 0x01, 0x95, 0x01, 0xB1, 0x02, 0xC0};
    const auto two = parse(nested);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].input_report_byte_length, 4);
    EXPECT_EQ(two[1].feature_report_byte_length, 2) << "the stray 32-byte feature counts nowhere";

    // A four-byte usage names its own page; the page item before it is overridden.
    const Bytes extended = {0x05, 0x01, 0x0B, 0x02, 0x00, 0x01, 0xFF, 0xA1,
                            0x01, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xC0};
    const auto caps = parse(extended);
    ASSERT_EQ(caps.size(), 1u);
    EXPECT_EQ(caps[0].usage_page, 0xFF01);
    EXPECT_EQ(caps[0].usage, 0x0002);

    // Push and pop restore the report size and count.
    const Bytes pushed = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95,
                          0x04, 0xA4, 0x95, 0x20, 0xB4, 0x81, 0x02, 0xC0};
    ASSERT_EQ(parse(pushed).size(), 1u);
    EXPECT_EQ(parse(pushed)[0].input_report_byte_length, 5);
}

TEST(ReportDescriptor, ReservedItemsAreSkippedAsTheKernelDoes) {
    // Reserved-type items (bits 2-3 = 3) of every data size, inside a good
    // vendor collection: the descriptor keeps its meaning.
    Bytes with_reserved = kVendorCollection;
    const Bytes reserved = {0x0C, 0x1D, 0x42, 0x0E, 0x01, 0x02, 0x3F, 0x01, 0x02, 0x03, 0x04};
    with_reserved.insert(with_reserved.begin() + 7, reserved.begin(), reserved.end());
    const auto caps = parse(with_reserved);
    ASSERT_EQ(caps.size(), 1u);
    EXPECT_EQ(caps[0].usage_page, 0xFF01);
    EXPECT_EQ(caps[0].feature_report_byte_length, 1041);

    // Its data is still length-checked.
    Bytes cut = kVendorCollection;
    cut.insert(cut.end(), {0x0F, 0x01, 0x02});
    EXPECT_TRUE(parse(cut).empty()) << "a four-byte reserved item cut short";
}

TEST(ReportDescriptor, EveryTruncationIsRejected) {
    // Any proper prefix either cuts an item or leaves the collection open.
    for (size_t length = 0; length < kVendorCollection.size(); ++length) {
        const Bytes prefix(kVendorCollection.begin(), kVendorCollection.begin() + length);
        EXPECT_TRUE(parse(prefix).empty()) << "prefix of " << length << " bytes";
    }
    EXPECT_TRUE(parse_report_descriptor(nullptr, 10).empty());
}

TEST(ReportDescriptor, HostileDescriptorsAreRejected) {
    const std::vector<std::pair<const char*, Bytes>> hostile = {
        {"pop without push", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xB4, 0xC0}},
        {"end collection first", {0xC0, 0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0}},
        {"report id 0", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x00, 0xC0}},
        {"report count above 65535",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x97, 0x00, 0x00, 0x01, 0x00, 0xC0}},
        {"report size above 256", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x76, 0x01, 0x01, 0xC0}},
        {"report longer than 16 bits can say",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x76, 0x00, 0x01, 0x96, 0xFF, 0xFF, 0x81, 0x02,
          0xC0}},
        {"long item past the end", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xFE, 0xC8, 0x01, 0x00}},
        {"a second collection left open",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0x09, 0x06, 0xA1, 0x01}},
        {"no application collection", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x00, 0xC0}},
        {"unclosed collection", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}},
    };
    for (const auto& [what, bytes] : hostile) {
        EXPECT_TRUE(parse(bytes).empty()) << what;
    }

    Bytes deep = {0x05, 0x01, 0x09, 0x02};
    for (int i = 0; i < 65; ++i)
        deep.insert(deep.end(), {0xA1, 0x01});
    for (int i = 0; i < 65; ++i)
        deep.push_back(0xC0);
    EXPECT_TRUE(parse(deep).empty()) << "65 nested collections";

    Bytes pushes = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01};
    for (int i = 0; i < 17; ++i)
        pushes.push_back(0xA4);
    pushes.push_back(0xC0);
    EXPECT_TRUE(parse(pushes).empty()) << "17 pushes";

    Bytes oversized = kBootMouse;
    oversized.resize(kMaxDescriptorSize + 1, 0x00);
    EXPECT_TRUE(parse(oversized).empty()) << "longer than the kernel allows";
}

TEST(ReportDescriptor, RandomBytesNeverCrash) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 20000; ++round) {
        Bytes bytes(random() % 96);
        for (auto& byte : bytes)
            byte = static_cast<uint8_t>(random());
        // Half the rounds start from a valid descriptor with a few bytes changed.
        if (round % 2 == 0) {
            bytes = kVendorCollection;
            for (int flips = 1 + random() % 4; flips > 0; --flips) {
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            }
        }
        // Under the sanitizers this catches any read past the buffer; the
        // lengths it derives always include the id byte and some data.
        for (const HidCaps& caps : parse(bytes)) {
            for (uint16_t length : {caps.input_report_byte_length, caps.output_report_byte_length,
                                    caps.feature_report_byte_length}) {
                EXPECT_TRUE(length == 0 || length >= 2) << length;
            }
        }
    }
}

}  // namespace
}  // namespace talvoro::hid
