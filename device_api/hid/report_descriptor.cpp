#include "hid/report_descriptor.h"

#include <array>

namespace talvoro::hid {
namespace {

// Item types and tags of the HID report descriptor grammar.
enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };
enum MainTag : uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC
};
enum GlobalTag : uint8_t {
    kUsagePage = 0x0,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB
};
enum LocalTag : uint8_t { kUsage = 0x0 };

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr uint8_t kApplicationCollection = 0x01;
constexpr size_t kMaxPushDepth = 16;
constexpr size_t kMaxCollectionDepth = 64;
// Field limits: the kernel refuses wider fields and longer arrays as well.
constexpr uint32_t kMaxReportSize = 256;
constexpr uint32_t kMaxReportCount = 65535;
// A report may not be longer than a 16-bit byte length can say, id byte included.
constexpr uint64_t kMaxReportBits = (65535u - 1u) * 8u;

struct Globals {
    uint32_t usage_page = 0;
    uint32_t report_size = 0;
    uint32_t report_count = 0;
    uint32_t report_id = 0;
};

enum ReportKind { kInputReport = 0, kOutputReport = 1, kFeatureReport = 2 };

class Parser {
  public:
    Parser(const uint8_t* data, size_t length) : data_(data), length_(length) {}

    std::vector<HidCaps> run() {
        if (data_ == nullptr || length_ == 0 || length_ > kMaxDescriptorSize)
            return {};
        size_t at = 0;
        while (at < length_) {
            const uint8_t prefix = data_[at];
            if (prefix == kLongItemPrefix) {
                // Long items carry no information we use; skip them whole.
                if (length_ - at < 3)
                    return {};
                const size_t size = data_[at + 1];
                if (length_ - at - 3 < size)
                    return {};
                at += 3 + size;
                continue;
            }
            const size_t size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
            if (length_ - at - 1 < size)
                return {};
            uint32_t value = 0;
            for (size_t i = 0; i < size; ++i) {
                value |= static_cast<uint32_t>(data_[at + 1 + i]) << (8 * i);
            }
            const auto type = static_cast<ItemType>((prefix >> 2) & 0x3);
            const auto tag = static_cast<uint8_t>(prefix >> 4);
            if (!item(type, tag, value, size))
                return {};
            at += 1 + size;
        }
        if (depth_ != 0)
            return {};
        return std::move(collections_);
    }

  private:
    bool item(ItemType type, uint8_t tag, uint32_t value, size_t size) {
        switch (type) {
            case kMain:
                return main_item(tag, value);
            case kGlobal:
                return global_item(tag, value);
            case kLocal:
                if (tag == kUsage && !has_usage_) {
                    // A four-byte usage carries its own page in the high half.
                    usage_ = value;
                    usage_has_page_ = size == 4;
                    has_usage_ = true;
                }
                return true;
            case kReserved:
                return true;  // the kernel skips these too
        }
        return false;
    }

    bool global_item(uint8_t tag, uint32_t value) {
        switch (tag) {
            case kUsagePage:
                globals_.usage_page = value;
                return true;
            case kReportSize:
                if (value > kMaxReportSize)
                    return false;
                globals_.report_size = value;
                return true;
            case kReportId:
                if (value == 0 || value > 255)
                    return false;
                globals_.report_id = value;
                return true;
            case kReportCount:
                if (value > kMaxReportCount)
                    return false;
                globals_.report_count = value;
                return true;
            case kPush:
                if (stack_depth_ == kMaxPushDepth)
                    return false;
                stack_[stack_depth_++] = globals_;
                return true;
            case kPop:
                if (stack_depth_ == 0)
                    return false;
                globals_ = stack_[--stack_depth_];
                return true;
            default:
                return true;  // logical and physical ranges, units: not needed
        }
    }

    bool main_item(uint8_t tag, uint32_t value) {
        bool ok = true;
        switch (tag) {
            case kCollection:
                if (depth_ == kMaxCollectionDepth)
                    return false;
                if (depth_ == 0 && (value & 0xFF) == kApplicationCollection) {
                    in_top_level_ = true;
                    current_ = HidCaps{};
                    current_.usage_page = static_cast<uint16_t>(
                        usage_has_page_ ? (usage_ >> 16) : globals_.usage_page);
                    current_.usage = static_cast<uint16_t>(usage_ & 0xFFFF);
                }
                ++depth_;
                break;
            case kEndCollection:
                if (depth_ == 0)
                    return false;
                if (--depth_ == 0 && in_top_level_) {
                    in_top_level_ = false;
                    close_top_level();
                }
                break;
            case kInput:
                ok = add_field(kInputReport);
                break;
            case kOutput:
                ok = add_field(kOutputReport);
                break;
            case kFeature:
                ok = add_field(kFeatureReport);
                break;
            default:
                break;
        }
        // Local items apply to the next main item only.
        has_usage_ = false;
        usage_has_page_ = false;
        usage_ = 0;
        return ok;
    }

    bool add_field(ReportKind kind) {
        // Fields outside an application collection belong to no interface
        // a host would open.
        if (!in_top_level_)
            return true;
        uint64_t& bits = bits_[kind][globals_.report_id];
        bits += static_cast<uint64_t>(globals_.report_size) * globals_.report_count;
        has_fields_ = true;
        return bits <= kMaxReportBits;
    }

    // Settles the report lengths of the collection that just ended; the
    // next collection counts its reports from zero.
    void close_top_level() {
        uint16_t* lengths[3] = {&current_.input_report_byte_length,
                                &current_.output_report_byte_length,
                                &current_.feature_report_byte_length};
        for (int kind = 0; kind < 3; ++kind) {
            uint64_t longest = 0;
            for (uint64_t bits : bits_[kind]) {
                if (bits > longest)
                    longest = bits;
            }
            // The id byte is counted whether or not the descriptor numbers its reports.
            *lengths[kind] =
                longest == 0 ? uint16_t{0} : static_cast<uint16_t>((longest + 7) / 8 + 1);
        }
        if (has_fields_) {
            for (auto& kind : bits_)
                kind.fill(0);
            has_fields_ = false;
        }
        collections_.push_back(current_);
    }

    const uint8_t* data_;
    size_t length_;
    Globals globals_;
    std::array<Globals, kMaxPushDepth> stack_{};
    size_t stack_depth_ = 0;
    size_t depth_ = 0;
    uint32_t usage_ = 0;
    bool has_usage_ = false;
    bool usage_has_page_ = false;
    bool in_top_level_ = false;
    bool has_fields_ = false;
    // Bits per report id and kind, of the open top-level collection only.
    std::array<std::array<uint64_t, 256>, 3> bits_{};
    HidCaps current_;
    std::vector<HidCaps> collections_;
};

}  // namespace

std::vector<HidCaps> parse_report_descriptor(const uint8_t* data, size_t length) {
    return Parser(data, length).run();
}

}  // namespace talvoro::hid
