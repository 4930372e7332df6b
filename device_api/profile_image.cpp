#include "profile_image.h"

#include <algorithm>
#include <cstring>

namespace talvoro {
namespace {

// Image offsets of the fixed fields.
constexpr size_t kIndex = 0x00;
constexpr size_t kInUse = 0x01;
constexpr size_t kReservedA = 0x02;
constexpr size_t kDataSize = 0x11;
constexpr size_t kReservedB = 0x13;
constexpr size_t kReportRate = 0x15;
constexpr size_t kPowerSave = 0x16;
constexpr size_t kReservedC = 0x17;
constexpr size_t kCpi = 0x32;
constexpr size_t kAngleTuning = 0x43;
constexpr size_t kAngleSnapping = 0x44;
constexpr size_t kLiftOff = 0x45;
constexpr size_t kSmoothing = 0x46;
constexpr size_t kButtons = 0x50;

constexpr size_t kEntrySize = 7;   // a button entry, and a macro event, in the image
constexpr size_t kMacroBase = 20;  // macro_offset counts from image byte 20
constexpr size_t kSlotNineLimit = 164;
constexpr size_t kFirstWheelEntry = 11;  // entries 11 and 12 carry actions unshifted

static_assert(kButtons + TALVORO_BUTTON_ENTRIES * kEntrySize <= TALVORO_EVENT_AREA);
static_assert(TALVORO_EVENT_AREA + TALVORO_EVENT_RECORDS * kEntrySize <= TALVORO_IMAGE_SIZE);

void put_u16(ProfileImage& image, size_t at, uint16_t value) {
    image[at] = static_cast<uint8_t>(value & 0xFF);
    image[at + 1] = static_cast<uint8_t>(value >> 8);
}

uint16_t get_u16(const ProfileImage& image, size_t at) {
    return static_cast<uint16_t>(image[at] | (image[at + 1] << 8));
}

bool is_macro(const ButtonEntry& entry) {
    return entry.function_type == kFunctionMacro;
}

// Writing: code low byte first, delay bits 0..7, 8..15, 16..23; the press and
// release of buttons 1..11 go out as 1 and 2.
void write_event(const MacroEvent& event, size_t entry, uint8_t* out) {
    out[0] = event.event_type;
    out[1] = static_cast<uint8_t>(event.event_code & 0xFF);
    out[2] = static_cast<uint8_t>(event.event_code >> 8);
    out[3] = entry < kFirstWheelEntry ? static_cast<uint8_t>(event.event_action + 1)
                                      : event.event_action;
    out[4] = static_cast<uint8_t>(event.event_delay_ms & 0xFF);
    out[5] = static_cast<uint8_t>((event.event_delay_ms >> 8) & 0xFF);
    out[6] = static_cast<uint8_t>((event.event_delay_ms >> 16) & 0xFF);
}

// Reading takes the code and the delay high byte first, so they come back
// byte-exchanged relative to what was written; callers exchange them back.
// Buttons 1..11 keep the device's 1/2 actions, the wheel entries lose one.
void read_event(const uint8_t* in, size_t entry, MacroEvent& event) {
    event.event_type = in[0];
    event.event_code = static_cast<uint16_t>((in[1] << 8) | in[2]);
    event.event_action = entry < kFirstWheelEntry ? in[3] : static_cast<uint8_t>(in[3] - 1);
    event.event_delay_ms =
        (static_cast<uint32_t>(in[4]) << 16) | (static_cast<uint32_t>(in[5]) << 8) | in[6];
}

}  // namespace

bool macros_fit(const ProfileRecord& record) {
    if (record.macros[9].event_count > kSlotNineLimit)
        return false;
    size_t records = 0;
    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        if (!is_macro(record.buttons[k]))
            continue;
        if (record.macros[k].event_count > TALVORO_MACRO_EVENTS)
            return false;
        records += record.macros[k].event_count + 1u;
    }
    return records <= TALVORO_EVENT_RECORDS;
}

void pack_profile(ProfileRecord& record, ProfileImage& image) {
    image.fill(0);
    size_t position = TALVORO_EVENT_AREA;
    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        ButtonEntry& entry = record.buttons[k];
        if (!is_macro(entry))
            continue;
        const MacroSlot& slot = record.macros[k];
        // Bounded again here so a caller that skipped macros_fit() still
        // cannot write past the slot or the image.
        const size_t room = (image.size() - position) / kEntrySize;
        const size_t count =
            std::min<size_t>({slot.event_count, TALVORO_MACRO_EVENTS, room > 0 ? room - 1 : 0});
        entry.macro_offset = static_cast<uint16_t>(position - kMacroBase);
        entry.macro_event_count = static_cast<uint16_t>(count);
        for (size_t j = 0; j < count; ++j, position += kEntrySize) {
            write_event(slot.events[j], k, &image[position]);
        }
        if (room > 0)
            position += kEntrySize;  // the all-zero terminator
    }

    image[kIndex] = record.profile_index;
    image[kInUse] = record.in_use;
    put_u16(image, kReservedA, record.reserved_a);
    put_u16(image, kDataSize, record.data_size);
    put_u16(image, kReservedB, record.reserved_b);
    image[kReportRate] = record.report_rate_code;
    image[kPowerSave] = record.power_save_seconds;
    std::memcpy(&image[kReservedC], record.reserved_c, sizeof record.reserved_c);
    for (size_t i = 0; i < 8; ++i)
        put_u16(image, kCpi + 2 * i, record.cpi[i]);
    image[kAngleTuning] = static_cast<uint8_t>(record.angle_tuning);
    image[kAngleSnapping] = record.angle_snapping;
    image[kLiftOff] = record.lift_off_code;
    image[kSmoothing] = record.smoothing;
    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        const ButtonEntry& entry = record.buttons[k];
        uint8_t* out = &image[kButtons + k * kEntrySize];
        out[0] = entry.function_type;
        out[1] = entry.function_param;
        out[2] = static_cast<uint8_t>(entry.macro_offset & 0xFF);
        out[3] = static_cast<uint8_t>(entry.macro_offset >> 8);
        out[4] = static_cast<uint8_t>(entry.macro_event_count & 0xFF);
        out[5] = static_cast<uint8_t>(entry.macro_event_count >> 8);
        out[6] = entry.macro_number;
    }
}

void unpack_profile(const ProfileImage& image, ProfileRecord& record) {
    record.profile_index = image[kIndex];
    record.in_use = image[kInUse];
    record.reserved_a = get_u16(image, kReservedA);
    record.data_size = get_u16(image, kDataSize);
    record.reserved_b = get_u16(image, kReservedB);
    record.report_rate_code = image[kReportRate];
    record.power_save_seconds = image[kPowerSave];
    std::memcpy(record.reserved_c, &image[kReservedC], sizeof record.reserved_c);
    for (size_t i = 0; i < 8; ++i)
        record.cpi[i] = get_u16(image, kCpi + 2 * i);
    record.angle_tuning = static_cast<int8_t>(image[kAngleTuning]);
    record.angle_snapping = image[kAngleSnapping];
    record.lift_off_code = image[kLiftOff];
    record.smoothing = image[kSmoothing];

    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        ButtonEntry& entry = record.buttons[k];
        const uint8_t* in = &image[kButtons + k * kEntrySize];
        entry.function_type = in[0];
        entry.function_param = in[1];
        entry.macro_offset = static_cast<uint16_t>(in[2] | (in[3] << 8));
        entry.macro_event_count = static_cast<uint16_t>(in[4] | (in[5] << 8));
        entry.macro_number = in[6];
        if (!is_macro(entry))
            continue;

        // The offset is computed in 16 bits, as the mouse does.
        const size_t start = static_cast<uint16_t>(entry.macro_offset + kMacroBase);
        const size_t fits = start < image.size() ? (image.size() - start) / kEntrySize : 0;
        const size_t count =
            std::min<size_t>({entry.macro_event_count, TALVORO_MACRO_EVENTS, fits});
        MacroSlot& slot = record.macros[k];
        slot.event_count = static_cast<uint16_t>(count);
        for (size_t j = 0; j < count; ++j) {
            read_event(&image[start + j * kEntrySize], k, slot.events[j]);
        }
    }
}

}  // namespace talvoro
