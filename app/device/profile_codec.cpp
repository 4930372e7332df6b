#include "device/profile_codec.h"

#include <algorithm>
#include <cstring>

#include "device/macro_codec.h"
#include "device/value_tables.h"
#include "protocol.h"
#include "store/button_function.h"
#include "store/key_table.h"

namespace talvoro {
namespace {

using protocol::kFunctionMacro;
using protocol::kTopAngleSnapping;

uint8_t play_mode(int32_t mode) {
    const bool valid =
        (mode >= 1 && mode <= 99) || mode == kPlayWhilePressed || mode == kPlayToggle;
    return static_cast<uint8_t>(valid ? mode : 1);
}

void encode_button(const ProfileStore& store, const ProfileBlock& block, int b,
                   ProfileRecord& record) {
    ButtonEntry& entry = record.buttons[b];
    const int32_t function = block.button_function[b];
    const int32_t param = block.button_param[b];
    if (function == kMacro) {
        const int32_t number = param == 0 ? 1 : param;
        if (number < 1 || number > kMacroLimit) {
            // A number no macro can have (from a damaged file): the button is
            // sent disabled rather than pointing the mouse past the table.
            entry.function_type = kDeviceDisabled;
            entry.function_param = 1;
            return;
        }
        entry.function_type = kFunctionMacro;
        entry.function_param = play_mode(block.macro_play_mode[b]);
        entry.macro_number = static_cast<uint8_t>(number);
        encode_macro(store.macro_store.macros[number - 1], record.macros[b]);
    } else if (function == kSingleKey) {
        const KeyRow* key = key_by_virtual_key(param);
        entry.function_type = kDeviceSingleKey;
        entry.function_param = key != nullptr ? static_cast<uint8_t>(key->usage & 0xFF) : 0;
    } else {
        const DeviceFunction device = device_function(function);
        entry.function_type = device.type;
        entry.function_param = device.param;
    }
}

void decode_button(ProfileRecord& record, int b, ProfileBlock& block, ProfileStore& store) {
    const ButtonEntry& entry = record.buttons[b];
    int32_t function = kFunctionNone;
    int32_t param = 0;
    if (entry.function_type == kFunctionMacro) {
        const int32_t number = entry.macro_number == 0 ? 1 : entry.macro_number;
        if (number > kMacroLimit) {
            // A macro number past the table: the button keeps its factory function.
            function = kDefaultButtons[static_cast<size_t>(b)];
        } else {
            function = kMacro;
            param = number;
            block.macro_play_mode[b] = entry.function_param;
            decode_macro(record.macros[b], number, store.macro_store.macros[number - 1]);
        }
    } else if (entry.function_type == kDeviceSingleKey) {
        const KeyRow* key = key_by_usage(entry.function_param);
        function = kSingleKey;
        param = key != nullptr ? key->virtual_key : 0;
    } else {
        function = button_function(entry.function_type, entry.function_param);
    }
    block.button_function[b] = function;
    block.button_param[b] = param;
}

}  // namespace

uint8_t encode_profiles(ProfileStore& store, DeviceRecords& records) {
    if (store.current_profile < 1 || store.current_profile > kProfileCount) {
        store.current_profile = 1;
    }
    if (store.profiles[store.current_profile - 1].in_use == 0) {
        for (int i = 0; i < kProfileCount; ++i) {
            if (store.profiles[i].in_use == 1) {
                store.current_profile = i + 1;
                break;
            }
        }
    }
    std::memset(records.data(), 0, sizeof(ProfileRecord) * records.size());
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileBlock& block = store.profiles[i];
        ProfileRecord& record = records[static_cast<size_t>(i)];
        record.profile_index = static_cast<uint8_t>(i);
        record.data_size = TALVORO_IMAGE_SIZE;
        record.in_use = block.in_use == 1 ? 1 : 0;
        record.power_save_seconds = static_cast<uint8_t>(block.power_save_seconds);
        record.report_rate_code = report_rate_code(block.report_rate_hz);
        if (block.angle_snapping_level > kTopAngleSnapping)
            block.angle_snapping_level = kTopAngleSnapping;
        record.angle_snapping = static_cast<uint8_t>(block.angle_snapping_level);
        record.lift_off_code = lift_off_code(block.lift_off_level);
        record.angle_tuning = 0;
        record.smoothing = block.smoothing;
        for (int k = 0; k < kCpiValues; ++k) {
            record.cpi[k] = static_cast<uint16_t>(block.laser_cpi[k]);
        }
        for (int b = 0; b < kButtonCount; ++b)
            encode_button(store, block, b, record);
        record.buttons[protocol::kWheelUpEntry] = ButtonEntry{0x01, 0x01, 0, 0, 0, 0};
        record.buttons[protocol::kWheelDownEntry] = ButtonEntry{0x01, 0xFF, 0, 0, 0, 0};
    }
    return static_cast<uint8_t>(store.current_profile);
}

void decode_profiles(DeviceRecords& records, uint8_t device_current, ProfileStore& store) {
    store.current_profile = device_current == 0 ? 1 : device_current;
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileRecord& record = records[static_cast<size_t>(i)];
        ProfileBlock& block = store.profiles[i];
        std::memset(&block, 0, sizeof block);
        block.in_use = record.in_use != 0 ? 1 : 0;
        block.power_save_seconds = record.power_save_seconds;
        block.report_rate_hz = report_rate_hz(record.report_rate_code);
        if (record.angle_snapping > kTopAngleSnapping)
            record.angle_snapping = kTopAngleSnapping;
        block.angle_snapping_level = record.angle_snapping;
        block.lift_off_level = lift_off_level(record.lift_off_code);
        block.angle_tuning = 0;
        block.smoothing = record.smoothing;
        for (int k = 0; k < kCpiValues; ++k)
            block.laser_cpi[k] = record.cpi[k];
        for (int b = 0; b < kButtonCount; ++b)
            decode_button(record, b, block, store);
    }
}

void compact_macros(ProfileStore& store) {
    MacroStore& macros = store.macro_store;
    int32_t collected = 0;
    for (int32_t k = 0; k < kMacroLimit; ++k) {
        if (macros.macros[k].number == 0)
            continue;
        const int32_t j = collected++;
        if (k != j) {
            std::memcpy(&macros.macros[j], &macros.macros[k], sizeof(MacroRecord));
            for (ProfileBlock& block : store.profiles) {
                for (int b = 0; b < kButtonCount; ++b) {
                    if (block.button_function[b] == kMacro && block.button_param[b] == k + 1) {
                        block.button_param[b] = j + 1;
                    }
                }
            }
            std::memset(&macros.macros[k], 0, sizeof(MacroRecord));
        }
        macros.macros[j].number = j + 1;
    }
    macros.macro_count = collected;
}

}  // namespace talvoro
