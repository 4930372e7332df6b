#include "device/device_api_binding.h"

#include "platform/dynamic_library.h"

namespace talvoro {
namespace {

// Binds one entry point; a missing one is announced with its own message.
template <typename Function>
void bind_one(const DynamicLibrary& library, const char* name, Function*& slot,
              UserNotices& notices) {
    slot = reinterpret_cast<Function*>(library.symbol(name));
    if (slot == nullptr) {
        notices.show_notice(std::string("Load ") + name + " Fail !\n", kNoticeCaption);
    }
}

}  // namespace

DeviceApiBinding::DeviceApiBinding() = default;
DeviceApiBinding::~DeviceApiBinding() = default;

bool DeviceApiBinding::bind(UserNotices& notices, const char* file_name) {
    library_ = DynamicLibrary::load(file_name);
    if (!library_) {
        notices.show_notice("load QX api failed !\n", kNoticeCaption);
        return false;
    }
    bind_one(*library_, "Open_QX_device", api_.Open_QX_device, notices);
    bind_one(*library_, "Close_QX_device", api_.Close_QX_device, notices);
    bind_one(*library_, "Get_fw_info", api_.Get_fw_info, notices);
    bind_one(*library_, "Get_fw_version", api_.Get_fw_version, notices);
    bind_one(*library_, "Get_current_profile_id", api_.Get_current_profile_id, notices);
    bind_one(*library_, "Set_current_profile_id", api_.Set_current_profile_id, notices);
    bind_one(*library_, "Read_profile", api_.Read_profile, notices);
    bind_one(*library_, "Write_profile", api_.Write_profile, notices);
    bind_one(*library_, "Set_LED_black_out", api_.Set_LED_black_out, notices);
    bind_one(*library_, "Set_LED_black_out_off", api_.Set_LED_black_out_off, notices);
    return true;
}

}  // namespace talvoro
