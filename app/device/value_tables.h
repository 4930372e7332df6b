// The tables between the store's values and the mouse's codes, both ways.
#pragma once

#include <cstdint>

namespace talvoro {

// Report rate: 125, 250, 500 Hz have their own codes; anything else is 1000 Hz.
uint8_t report_rate_code(int32_t hz);
int32_t report_rate_hz(uint8_t code);

// Lift-off distance: levels 1..10 are codes 5, 6, 7, 8, 9, 10, 12, 18, 25, 32.
uint8_t lift_off_code(int32_t level);
int32_t lift_off_level(uint8_t code);

// A button's function as the mouse holds it.
struct DeviceFunction {
    uint8_t type = 0;
    uint8_t param = 0;
};

// Device function of a ButtonFunction code; macros and single keys need more
// than the code and are encoded by the caller.
DeviceFunction device_function(int32_t button_function);
// ButtonFunction of a device function, or 0 when it is not in the table
// (macros and single keys are decoded by the caller).
int32_t button_function(uint8_t type, uint8_t param);

// Device function types with parameters of their own (the macro's is the protocol's).
inline constexpr uint8_t kDeviceSingleKey = 0x02;
inline constexpr uint8_t kDeviceDisabled = 0xFF;

}  // namespace talvoro
