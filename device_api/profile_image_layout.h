// Where each field of the mouse's 2048-byte profile image sits. The library
// packs and unpacks records by this table and the virtual mouse builds its
// factory images by it, so the two sides cannot drift apart. 16-bit values
// are little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "protocol.h"

namespace talvoro {

namespace protocol {

inline constexpr size_t kImageSize = TALVORO_IMAGE_SIZE;
inline constexpr size_t kImageChunks = kImageSize / kChunkSize;
static_assert(kImageChunks * kChunkSize == kImageSize, "an image is whole chunks");

// One field: its first byte and how many bytes it takes.
struct ImageField {
    size_t offset;
    size_t size;

    constexpr size_t end() const { return offset + size; }
};

// Whether `fields` lie in order, none overlapping the next, all inside `size` bytes.
template <size_t N>
constexpr bool fields_fit(const std::array<ImageField, N>& fields, size_t size) {
    for (size_t i = 0; i + 1 < N; ++i) {
        if (fields[i].end() > fields[i + 1].offset)
            return false;
    }
    return N == 0 || fields[N - 1].end() <= size;
}

namespace image {

// A button entry, and a macro event, take 7 bytes each.
inline constexpr size_t kRecordSize = 7;
constexpr size_t records_size(size_t count) {
    return count * kRecordSize;
}

// The fixed fields, in image order.
inline constexpr ImageField kProfileIndex{0x00, 1};
inline constexpr ImageField kInUse{0x01, 1};
inline constexpr ImageField kReservedA{0x02, 2};
inline constexpr ImageField kDataSize{0x11, 2};
inline constexpr ImageField kReservedB{0x13, 2};
inline constexpr ImageField kReportRate{0x15, 1};
inline constexpr ImageField kPowerSave{0x16, 1};
inline constexpr ImageField kReservedC{0x17, sizeof(ProfileRecord::reserved_c)};
inline constexpr ImageField kCpi{0x32, 2 * kResolutionValues};  // level 1 X, level 1 Y, ...
inline constexpr ImageField kAngleTuning{0x43, 1};
inline constexpr ImageField kAngleSnapping{0x44, 1};
inline constexpr ImageField kLiftOff{0x45, 1};
inline constexpr ImageField kSmoothing{0x46, 1};
inline constexpr ImageField kButtonTable{0x50, records_size(TALVORO_BUTTON_ENTRIES)};
// The macros' events, each macro followed by an all-zero record.
inline constexpr ImageField kEventArea{TALVORO_EVENT_AREA, records_size(TALVORO_EVENT_RECORDS)};

static_assert(fields_fit(std::array{kProfileIndex, kInUse, kReservedA, kDataSize, kReservedB,
                                    kReportRate, kPowerSave, kReservedC, kCpi, kAngleTuning,
                                    kAngleSnapping, kLiftOff, kSmoothing, kButtonTable, kEventArea},
                         kImageSize),
              "the image's fields lie in order, apart, inside the image");

// The fields of one button entry, from the entry's first byte.
inline constexpr ImageField kEntryFunctionType{0, 1};
inline constexpr ImageField kEntryFunctionParam{1, 1};
inline constexpr ImageField kEntryMacroOffset{2, 2};
inline constexpr ImageField kEntryMacroEventCount{4, 2};
inline constexpr ImageField kEntryMacroNumber{6, 1};

// The fields of one macro event, from the event's first byte. The code is two
// bytes and the delay three.
inline constexpr ImageField kEventType{0, 1};
inline constexpr ImageField kEventCode{1, 2};
inline constexpr ImageField kEventAction{3, 1};
inline constexpr ImageField kEventDelay{4, 3};

static_assert(fields_fit(std::array{kEntryFunctionType, kEntryFunctionParam, kEntryMacroOffset,
                                    kEntryMacroEventCount, kEntryMacroNumber},
                         kRecordSize) &&
                  fields_fit(std::array{kEventType, kEventCode, kEventAction, kEventDelay},
                             kRecordSize),
              "a button entry's and a macro event's fields fit their 7 bytes");

// A macro entry's offset counts from this image byte, not from the image's start.
inline constexpr size_t kMacroOffsetBase = 20;
// Macro slot 9 holds fewer events than the others: the mouse's own limit.
inline constexpr size_t kShortSlot = 9;
inline constexpr size_t kShortSlotEvents = 164;

// The first byte of button entry `entry` and of resolution value `value`.
constexpr size_t entry_offset(size_t entry) {
    return kButtonTable.offset + records_size(entry);
}
constexpr size_t cpi_offset(size_t value) {
    return kCpi.offset + 2 * value;
}

}  // namespace image
}  // namespace protocol

// One slot's image, as it travels in chunks and as the mouse keeps it.
using ProfileImage = std::array<uint8_t, protocol::kImageSize>;

namespace protocol::image {

inline void put_u16(ProfileImage& image, size_t at, uint16_t value) {
    image[at] = static_cast<uint8_t>(value & 0xFF);
    image[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline uint16_t get_u16(const ProfileImage& image, size_t at) {
    return static_cast<uint16_t>(image[at] | (image[at + 1] << 8));
}

}  // namespace protocol::image
}  // namespace talvoro
