// The ten entry points taken straight from the library's code, for test programs that link its
// objects: they can replace its waits, which a loaded library keeps to itself.
#pragma once

#include "device/device_api.h"
#include "talvoro_api.h"

namespace talvoro::test {

inline DeviceApi direct_api() {
    DeviceApi api;
    api.Open_QX_device = &::Open_QX_device;
    api.Close_QX_device = &::Close_QX_device;
    api.Get_fw_info = &::Get_fw_info;
    api.Get_fw_version = &::Get_fw_version;
    api.Get_current_profile_id = &::Get_current_profile_id;
    api.Set_current_profile_id = &::Set_current_profile_id;
    api.Read_profile = &::Read_profile;
    api.Write_profile = &::Write_profile;
    api.Set_LED_black_out = &::Set_LED_black_out;
    api.Set_LED_black_out_off = &::Set_LED_black_out_off;
    return api;
}

}  // namespace talvoro::test
