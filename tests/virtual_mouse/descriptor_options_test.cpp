// The report descriptors, walked item by item as a host's parser would, and
// the program's command line.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"
#include "report_descriptors.h"

namespace talvoro::virtual_mouse {
namespace {

// What a host learns from a descriptor: the top-level usage and the length
// in bytes of each report, the report id byte included when there is one.
struct ParsedDescriptor {
    uint32_t usage_page = 0;
    uint32_t usage = 0;
    std::map<int, size_t> feature_bytes;  // by report id
    std::map<int, size_t> input_bytes;
    int open_collections = 0;
};

ParsedDescriptor walk(std::span<const uint8_t> bytes) {
    ParsedDescriptor parsed;
    uint32_t page = 0, size = 0, count = 0, usage = 0;
    int report_id = -1;
    bool have_top = false;
    std::map<int, size_t> feature_bits, input_bits;
    size_t at = 0;
    while (at < bytes.size()) {
        const uint8_t prefix = bytes[at];
        const size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
        EXPECT_LE(at + 1 + length, bytes.size()) << "item runs past the end";
        if (at + 1 + length > bytes.size())
            break;
        uint32_t value = 0;
        for (size_t i = 0; i < length; ++i)
            value |= uint32_t{bytes[at + 1 + i]} << (8 * i);
        switch (prefix & 0xFC) {
            case 0x04:
                page = value;
                break;
            case 0x74:
                size = value;
                break;
            case 0x94:
                count = value;
                break;
            case 0x84:
                report_id = static_cast<int>(value);
                break;
            case 0x08:
                usage = value;
                break;
            case 0xA0:
                if (!have_top) {
                    parsed.usage_page = page;
                    parsed.usage = usage;
                    have_top = true;
                }
                ++parsed.open_collections;
                break;
            case 0xC0:
                --parsed.open_collections;
                break;
            case 0xB0:
                feature_bits[report_id] += size * count;
                break;
            case 0x80:
                input_bits[report_id] += size * count;
                break;
            default:
                break;
        }
        at += 1 + length;
    }
    for (const auto& [id, bits] : feature_bits) {
        parsed.feature_bytes[id] = bits / 8 + (id >= 0 ? 1 : 0);
    }
    for (const auto& [id, bits] : input_bits) {
        parsed.input_bytes[id] = bits / 8 + (id >= 0 ? 1 : 0);
    }
    return parsed;
}

TEST(ReportDescriptorTest, ConfigurationInterfaceDeclaresTheFourFeatureReports) {
    const auto bytes = configuration_descriptor();
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3),
              (std::vector<uint8_t>{0x06, 0x01, 0xFF}));
    const ParsedDescriptor parsed = walk(bytes);
    EXPECT_EQ(parsed.usage_page, 0xFF01u);
    EXPECT_EQ(parsed.usage, 2u);
    EXPECT_EQ(parsed.open_collections, 0);
    EXPECT_EQ(parsed.feature_bytes,
              (std::map<int, size_t>{{0x03, 8}, {0x05, 1025}, {0x60, 64}, {0x61, 1041}}));
    EXPECT_TRUE(parsed.input_bytes.empty());
}

TEST(ReportDescriptorTest, PointerInterfaceIsAnOrdinaryMouse) {
    const ParsedDescriptor parsed = walk(pointer_descriptor());
    EXPECT_EQ(parsed.usage_page, 1u);
    EXPECT_EQ(parsed.usage, 2u);
    EXPECT_EQ(parsed.open_collections, 0);
    // Buttons and padding in one byte, then X, Y and wheel; no report id.
    EXPECT_EQ(parsed.input_bytes, (std::map<int, size_t>{{-1, 4}}));
    EXPECT_TRUE(parsed.feature_bytes.empty());
}

// Parses a command line written as one string of blank-separated words.
ParsedCommandLine parse(std::string_view line) {
    std::vector<std::string_view> args;
    while (!line.empty()) {
        const size_t blank = line.find(' ');
        args.push_back(line.substr(0, blank));
        line = blank == std::string_view::npos ? std::string_view{} : line.substr(blank + 1);
    }
    return parse_command_line(args);
}

TEST(CommandLineTest, ReadsEveryOptionInBothSpellings) {
    const auto parsed = parse(
        "--dir /run/x --name=left --vendor-id 0x046D --product-id=49291 --interfaces config "
        "--firmware 140 --starting-ms=2500 --refuse 0x04 --refuse 8 --busy-polls 4 "
        "--unplug-after 12 --unplug-mid-transfer --state /tmp/s --verbose --no-timing");
    ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
    const Options& o = *parsed.options;
    EXPECT_EQ(o.folder, "/run/x");
    EXPECT_EQ(o.name, "left");
    EXPECT_EQ(o.vendor_id, 0x046D);
    EXPECT_EQ(o.product_id, 49291);
    EXPECT_EQ(o.interfaces, InterfaceSet::kConfiguration);
    EXPECT_EQ(o.firmware_version, 140);
    EXPECT_EQ(o.faults.starting_window, std::chrono::milliseconds(2500));
    EXPECT_TRUE(o.faults.refused_codes[0x04]);
    EXPECT_TRUE(o.faults.refused_codes[0x08]);
    EXPECT_EQ(std::count(o.faults.refused_codes.begin(), o.faults.refused_codes.end(), true), 2);
    EXPECT_EQ(o.faults.busy_polls, 4u);
    EXPECT_EQ(o.faults.unplug_after_requests, 12u);
    EXPECT_TRUE(o.faults.unplug_mid_transfer);
    EXPECT_EQ(o.state_file, "/tmp/s");
    EXPECT_TRUE(o.verbose);
    EXPECT_TRUE(o.faults.no_timing);
}

TEST(CommandLineTest, DefaultsNeedNoOptions) {
    const auto parsed = parse("--dir /run/x");
    ASSERT_TRUE(parsed.options.has_value());
    EXPECT_EQ(parsed.options->name, "talvoro");
    EXPECT_EQ(parsed.options->vendor_id, TALVORO_VENDOR_ID);
    EXPECT_EQ(parsed.options->product_id, TALVORO_PRODUCT_ID);
    EXPECT_EQ(parsed.options->interfaces, InterfaceSet::kBoth);
    EXPECT_FALSE(parsed.options->firmware_version.has_value());
    EXPECT_TRUE(parsed.options->state_file.empty());
    EXPECT_TRUE(parse("--help").help);
}

TEST(CommandLineTest, RejectsBadValuesWithAMessage) {
    for (const char* line :
         {"--vendor-id 0x10000", "--vendor-id -1", "--product-id 12ab", "--refuse 256",
          "--refuse 0x", "--firmware=", "--unplug-after 0", "--interfaces all", "--name a/b",
          "--name ..", "--starting-ms", "--bogus", "--verbose=1", "--busy-polls 1e3", "stray"}) {
        const auto parsed = parse(line);
        EXPECT_FALSE(parsed.options.has_value()) << line;
        EXPECT_FALSE(parsed.error.empty()) << line;
    }
}

TEST(CommandLineTest, NumbersAreDecimalOrPrefixedHexWithinTheirRange) {
    EXPECT_EQ(parse_number("0x1209", 0xFFFF), 0x1209u);
    EXPECT_EQ(parse_number("0XfF", 0xFF), 0xFFu);
    EXPECT_EQ(parse_number("010", 100), 10u);  // not octal
    EXPECT_EQ(parse_number("18446744073709551615", UINT64_MAX), UINT64_MAX);
    EXPECT_FALSE(parse_number("18446744073709551616", UINT64_MAX));
    EXPECT_FALSE(parse_number("65536", 0xFFFF));
    EXPECT_FALSE(parse_number("+5", 10));
    EXPECT_FALSE(parse_number("", 10));
}

}  // namespace
}  // namespace talvoro::virtual_mouse
