// The exported device commands other than the profile transfer.
#include <cstring>

#include "command_exchange.h"
#include "feature_device.h"
#include "sleep.h"

namespace talvoro {
namespace {

namespace p = protocol;
using ControlReport = std::array<uint8_t, p::kControlLength>;

uint16_t firmware_version(const CommandReport& reply) {
    return static_cast<uint16_t>(reply[p::kFirmwareLow] | (reply[p::kFirmwareLow + 1] << 8));
}

QxStatus simple_command(uint8_t code, std::chrono::milliseconds wait) {
    CommandReport reply;
    return command_exchange(code, 0, wait, reply);
}

// Sends one control request and polls its status up to ten times without a
// pause, stopping at the first answer that is not "busy". Succeeds only when
// the last read itself succeeded and said "done".
bool control_step(uint8_t request_code) {
    ControlReport request{};
    request[0] = p::kControlReport;
    request[1] = request_code;
    if (SetFeature(request.data(), static_cast<int>(request.size())) == 0)
        return false;
    uint8_t status = 0;
    bool last_read_ok = false;
    for (int poll = 0; poll < p::kControlPolls; ++poll) {
        ControlReport answer{};
        answer[0] = p::kControlReport;
        last_read_ok = GetFeature(answer.data(), static_cast<int>(answer.size())) != 0;
        if (last_read_ok)
            status = answer[1];
        if (last_read_ok && status != p::kControlBusy)
            break;
    }
    return last_read_ok && status == p::kControlDone;
}

}  // namespace

QxStatus command_exchange(uint8_t code, uint8_t slot, std::chrono::milliseconds wait,
                          CommandReport& reply) {
    CommandReport request{};
    request[0] = p::kCommandReport;
    request[p::kCodeByte] = code;
    request[p::kArgSlot] = slot;
    if (SetFeature(request.data(), static_cast<int>(request.size())) == 0) {
        return QX_STATUS_TRANSPORT;
    }
    protocol_sleep(wait);
    reply.fill(0);
    reply[0] = p::kCommandReport;
    if (GetFeature(reply.data(), static_cast<int>(reply.size())) == 0) {
        return QX_STATUS_TRANSPORT;
    }
    return reply[p::kCodeByte] == p::kStatusDone ? QX_STATUS_DONE : QX_STATUS_REFUSED;
}

}  // namespace talvoro

using namespace talvoro;

extern "C" {

QxStatus Get_fw_info(uint16_t* version, uint8_t* second, uint8_t* third) {
    CommandReport reply;
    const QxStatus status = command_exchange(p::kCmdFirmware, 0, p::kWaitFwInfo, reply);
    if (status != QX_STATUS_DONE)
        return status;
    if (version != nullptr)
        *version = firmware_version(reply);
    if (second != nullptr)
        *second = reply[p::kFirmwareSecond];
    if (third != nullptr)
        *third = reply[p::kFirmwareThird];
    return status;
}

QxStatus Get_fw_version(uint16_t* version) {
    CommandReport reply;
    const QxStatus status = command_exchange(p::kCmdFirmware, 0, p::kWaitFwVersion, reply);
    if (status == QX_STATUS_DONE && version != nullptr) {
        *version = firmware_version(reply);
    }
    return status;
}

QxStatus Get_current_profile_id(uint8_t* slot) {
    CommandReport reply;
    const QxStatus status = command_exchange(p::kCmdGetProfile, 0, p::kWaitGetProfile, reply);
    if (status == QX_STATUS_DONE && slot != nullptr)
        *slot = reply[p::kProfileSlotByte];
    return status;
}

QxStatus Set_current_profile_id(int slot) {
    CommandReport reply;
    return command_exchange(p::kCmdSetProfile, static_cast<uint8_t>(slot & 0xFF),
                            p::kWaitSetProfile, reply);
}

QxStatus Set_LED_black_out(void) {
    return simple_command(p::kCmdLedBlackOut, p::kWaitLed);
}

QxStatus Set_LED_black_out_off(void) {
    return simple_command(p::kCmdLedBlackOutOff, p::kWaitLed);
}

QxStatus Set_driver_control(uint8_t mode) {
    if (mode != 0 && mode != 2)
        return QX_STATUS_REJECTED;
    if (!control_step(p::kControlDriverOn) || !control_step(mode))
        return QX_STATUS_TRANSPORT;
    return QX_STATUS_DONE;
}

QxStatus Read_flash_block(int block, uint8_t* destination) {
    std::array<uint8_t, p::kControlLength> request{};
    request[0] = p::kControlReport;
    request[1] = p::kControlFlashRead;
    request[p::kControlFlashBlockByte] = static_cast<uint8_t>(block & 0xFF);
    if (SetFeature(request.data(), static_cast<int>(request.size())) == 0) {
        return QX_STATUS_TRANSPORT;
    }
    protocol_sleep(p::kWaitFlashBlock);
    std::array<uint8_t, p::kFlashLength> flash{};
    flash[0] = p::kFlashReport;
    if (GetFeature(flash.data(), static_cast<int>(flash.size())) == 0) {
        return QX_STATUS_TRANSPORT;
    }
    if (destination != nullptr)
        std::memcpy(destination, flash.data() + 1, p::kChunkSize);
    return QX_STATUS_DONE;
}

// One function behind three export names: it touches neither the mouse nor
// any argument.
QxStatus Get_profile_state(void) {
    return QX_STATUS_DONE;
}
QxStatus Get_squal(void) __attribute__((alias("Get_profile_state")));
QxStatus Get_squal_avg(void) __attribute__((alias("Get_profile_state")));

}  // extern "C"
