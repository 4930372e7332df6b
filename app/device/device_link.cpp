#include "device/device_link.h"

#include <thread>

namespace talvoro {
namespace {

void real_sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + duration);
}

}  // namespace

DeviceLink::DeviceLink(const DeviceApi& api, LinkSleep sleep)
    : api_(api), sleep_(sleep != nullptr ? sleep : &real_sleep) {}

void DeviceLink::sleep(std::chrono::milliseconds duration) const {
    sleep_(duration);
}

bool DeviceLink::open() {
    return api_.Open_QX_device != nullptr && api_.Close_QX_device != nullptr &&
           api_.Open_QX_device() != 0;
}

void DeviceLink::close() {
    if (api_.Close_QX_device != nullptr)
        api_.Close_QX_device();
}

bool DeviceLink::presence_check() {
    close();
    return open();
}

bool DeviceLink::read_firmware_info() {
    if (api_.Get_fw_info == nullptr || !open())
        return false;
    uint16_t number = firmware_number_;
    const bool ok =
        api_.Get_fw_info(&number, &firmware_info_[0], &firmware_info_[1]) == QX_STATUS_DONE;
    close();
    if (ok)
        firmware_number_ = number;
    return ok;
}

bool DeviceLink::set_leds(bool lit) {
    auto command = lit ? api_.Set_LED_black_out_off : api_.Set_LED_black_out;
    if (command == nullptr || !open())
        return false;
    const bool ok = command() == QX_STATUS_DONE;
    close();
    return ok;
}

}  // namespace talvoro
