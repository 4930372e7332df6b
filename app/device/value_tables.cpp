#include "device/value_tables.h"

#include <array>
#include <cstddef>

#include "store/button_function.h"

namespace talvoro {
namespace {

constexpr std::array<uint8_t, 10> kLiftOffCodes = {5, 6, 7, 8, 9, 10, 12, 18, 25, 32};

struct FunctionRow {
    int32_t function;
    DeviceFunction device;
    bool any_param;  // recognised whatever parameter the mouse holds
};

constexpr std::array<FunctionRow, 15> kFunctions = {{
    {kLeftClick, {0x00, 0x01}, false},
    {kRightClick, {0x00, 0x02}, false},
    {kScrollWheelClick, {0x00, 0x04}, false},
    // Button 5 of the HID order is browser forward, button 4 backward.
    {kBrowserForward, {0x00, 0x10}, false},
    {kBrowserBackward, {0x00, 0x08}, false},
    {kScrollUp, {0x01, 0x01}, false},
    {kScrollDown, {0x01, 0xFF}, false},
    {kDpiUp, {0x0A, 0x01}, true},
    {kDpiDown, {0x0B, 0x01}, true},
    {kDpiLevelSwitch, {0x09, 0x00}, true},
    {kProfileSelect, {0x08, 0x01}, true},
    {kDoubleClick, {0x0E, 0x01}, true},
    {kTripleClick, {0x0D, 0x01}, true},
    {kSniperSwitch, {0x0C, 0x01}, true},
    {kDisable, {kDeviceDisabled, 0x01}, true},
}};

}  // namespace

uint8_t report_rate_code(int32_t hz) {
    switch (hz) {
        case 125:
            return 5;
        case 250:
            return 3;
        case 500:
            return 2;
        default:
            return 1;
    }
}

int32_t report_rate_hz(uint8_t code) {
    switch (code) {
        case 5:
            return 125;
        case 3:
            return 250;
        case 2:
            return 500;
        default:
            return 1000;
    }
}

uint8_t lift_off_code(int32_t level) {
    if (level == 0)
        return kLiftOffCodes.front();
    if (level < 0 || level > static_cast<int32_t>(kLiftOffCodes.size()))
        return kLiftOffCodes.back();
    return kLiftOffCodes[static_cast<size_t>(level - 1)];
}

int32_t lift_off_level(uint8_t code) {
    for (size_t i = 0; i < kLiftOffCodes.size(); ++i) {
        if (kLiftOffCodes[i] == code)
            return static_cast<int32_t>(i + 1);
    }
    if (code == 0)
        return 0;
    if (code < 8)
        return 1;
    // Codes between the table's steps: the nearest level of the 4c - 28 scale.
    const int32_t scaled = 4 * code - 28;
    return scaled < 10 ? 1 : (scaled + 5) / 10;
}

DeviceFunction device_function(int32_t function) {
    for (const FunctionRow& row : kFunctions) {
        if (row.function == function)
            return row.device;
    }
    return {};
}

int32_t button_function(uint8_t type, uint8_t param) {
    for (const FunctionRow& row : kFunctions) {
        if (row.device.type == type && (row.any_param || row.device.param == param)) {
            return row.function;
        }
    }
    return kFunctionNone;
}

}  // namespace talvoro
