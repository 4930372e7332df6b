#include "profile_image.h"

#include <algorithm>
#include <cstring>

namespace talvoro {
namespace {

namespace layout = protocol::image;
using layout::get_u16;
using layout::put_u16;

bool is_macro(const ButtonEntry& entry) {
    return entry.function_type == kFunctionMacro;
}

// Writing: code low byte first, delay bits 0..7, 8..15, 16..23; the press and
// release of buttons 1..11 go out as 1 and 2.
void write_event(const MacroEvent& event, size_t entry, uint8_t* out) {
    out[layout::kEventType.offset] = event.event_type;
    uint8_t* code = &out[layout::kEventCode.offset];
    code[0] = static_cast<uint8_t>(event.event_code & 0xFF);
    code[1] = static_cast<uint8_t>(event.event_code >> 8);
    out[layout::kEventAction.offset] = entry < protocol::kWheelUpEntry
                                           ? static_cast<uint8_t>(event.event_action + 1)
                                           : event.event_action;
    uint8_t* delay = &out[layout::kEventDelay.offset];
    delay[0] = static_cast<uint8_t>(event.event_delay_ms & 0xFF);
    delay[1] = static_cast<uint8_t>((event.event_delay_ms >> 8) & 0xFF);
    delay[2] = static_cast<uint8_t>((event.event_delay_ms >> 16) & 0xFF);
}

// Reading takes the code and the delay high byte first, so they come back
// byte-exchanged relative to what was written; callers exchange them back.
// Buttons 1..11 keep the device's 1/2 actions, the wheel entries lose one.
void read_event(const uint8_t* in, size_t entry, MacroEvent& event) {
    event.event_type = in[layout::kEventType.offset];
    const uint8_t* code = &in[layout::kEventCode.offset];
    event.event_code = static_cast<uint16_t>((code[0] << 8) | code[1]);
    const uint8_t action = in[layout::kEventAction.offset];
    event.event_action =
        entry < protocol::kWheelUpEntry ? action : static_cast<uint8_t>(action - 1);
    const uint8_t* delay = &in[layout::kEventDelay.offset];
    event.event_delay_ms =
        (static_cast<uint32_t>(delay[0]) << 16) | (static_cast<uint32_t>(delay[1]) << 8) | delay[2];
}

}  // namespace

bool macros_fit(const ProfileRecord& record) {
    if (record.macros[layout::kShortSlot].event_count > layout::kShortSlotEvents)
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
    size_t position = layout::kEventArea.offset;
    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        ButtonEntry& entry = record.buttons[k];
        if (!is_macro(entry))
            continue;
        const MacroSlot& slot = record.macros[k];
        // Bounded again here so a caller that skipped macros_fit() still
        // cannot write past the slot or the image.
        const size_t room = (image.size() - position) / layout::kRecordSize;
        const size_t count =
            std::min<size_t>({slot.event_count, TALVORO_MACRO_EVENTS, room > 0 ? room - 1 : 0});
        entry.macro_offset = static_cast<uint16_t>(position - layout::kMacroOffsetBase);
        entry.macro_event_count = static_cast<uint16_t>(count);
        for (size_t j = 0; j < count; ++j, position += layout::kRecordSize) {
            write_event(slot.events[j], k, &image[position]);
        }
        if (room > 0)
            position += layout::kRecordSize;  // the all-zero terminator
    }

    image[layout::kProfileIndex.offset] = record.profile_index;
    image[layout::kInUse.offset] = record.in_use;
    put_u16(image, layout::kReservedA.offset, record.reserved_a);
    put_u16(image, layout::kDataSize.offset, record.data_size);
    put_u16(image, layout::kReservedB.offset, record.reserved_b);
    image[layout::kReportRate.offset] = record.report_rate_code;
    image[layout::kPowerSave.offset] = record.power_save_seconds;
    std::memcpy(&image[layout::kReservedC.offset], record.reserved_c, layout::kReservedC.size);
    for (size_t i = 0; i < protocol::kResolutionValues; ++i)
        put_u16(image, layout::cpi_offset(i), record.cpi[i]);
    image[layout::kAngleTuning.offset] = static_cast<uint8_t>(record.angle_tuning);
    image[layout::kAngleSnapping.offset] = record.angle_snapping;
    image[layout::kLiftOff.offset] = record.lift_off_code;
    image[layout::kSmoothing.offset] = record.smoothing;
    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        const ButtonEntry& entry = record.buttons[k];
        const size_t at = layout::entry_offset(k);
        image[at + layout::kEntryFunctionType.offset] = entry.function_type;
        image[at + layout::kEntryFunctionParam.offset] = entry.function_param;
        put_u16(image, at + layout::kEntryMacroOffset.offset, entry.macro_offset);
        put_u16(image, at + layout::kEntryMacroEventCount.offset, entry.macro_event_count);
        image[at + layout::kEntryMacroNumber.offset] = entry.macro_number;
    }
}

void unpack_profile(const ProfileImage& image, ProfileRecord& record) {
    record.profile_index = image[layout::kProfileIndex.offset];
    record.in_use = image[layout::kInUse.offset];
    record.reserved_a = get_u16(image, layout::kReservedA.offset);
    record.data_size = get_u16(image, layout::kDataSize.offset);
    record.reserved_b = get_u16(image, layout::kReservedB.offset);
    record.report_rate_code = image[layout::kReportRate.offset];
    record.power_save_seconds = image[layout::kPowerSave.offset];
    std::memcpy(record.reserved_c, &image[layout::kReservedC.offset], layout::kReservedC.size);
    for (size_t i = 0; i < protocol::kResolutionValues; ++i)
        record.cpi[i] = get_u16(image, layout::cpi_offset(i));
    record.angle_tuning = static_cast<int8_t>(image[layout::kAngleTuning.offset]);
    record.angle_snapping = image[layout::kAngleSnapping.offset];
    record.lift_off_code = image[layout::kLiftOff.offset];
    record.smoothing = image[layout::kSmoothing.offset];

    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        ButtonEntry& entry = record.buttons[k];
        const size_t at = layout::entry_offset(k);
        entry.function_type = image[at + layout::kEntryFunctionType.offset];
        entry.function_param = image[at + layout::kEntryFunctionParam.offset];
        entry.macro_offset = get_u16(image, at + layout::kEntryMacroOffset.offset);
        entry.macro_event_count = get_u16(image, at + layout::kEntryMacroEventCount.offset);
        entry.macro_number = image[at + layout::kEntryMacroNumber.offset];
        if (!is_macro(entry))
            continue;

        // The offset is computed in 16 bits, as the mouse does.
        const size_t start = static_cast<uint16_t>(entry.macro_offset + layout::kMacroOffsetBase);
        const size_t fits = start < image.size() ? (image.size() - start) / layout::kRecordSize : 0;
        const size_t count =
            std::min<size_t>({entry.macro_event_count, TALVORO_MACRO_EVENTS, fits});
        MacroSlot& slot = record.macros[k];
        slot.event_count = static_cast<uint16_t>(count);
        for (size_t j = 0; j < count; ++j) {
            read_event(&image[start + j * layout::kRecordSize], k, slot.events[j]);
        }
    }
}

}  // namespace talvoro
