// The entry points of libtalvoro_api that the program binds by name. An entry
// point that could not be bound stays null and is never called.
#pragma once

#include <cstdint>

#include "talvoro_api.h"

namespace talvoro {

struct DeviceApi {
    int (*Open_QX_device)() = nullptr;
    int (*Close_QX_device)() = nullptr;
    QxStatus (*Get_fw_info)(uint16_t*, uint8_t*, uint8_t*) = nullptr;
    QxStatus (*Get_fw_version)(uint16_t*) = nullptr;
    QxStatus (*Get_current_profile_id)(uint8_t*) = nullptr;
    QxStatus (*Set_current_profile_id)(int) = nullptr;
    QxStatus (*Read_profile)(int, ProfileRecord*) = nullptr;
    QxStatus (*Write_profile)(int, ProfileRecord*) = nullptr;
    QxStatus (*Set_LED_black_out)() = nullptr;
    QxStatus (*Set_LED_black_out_off)() = nullptr;
};

}  // namespace talvoro
