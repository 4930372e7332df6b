// Every exchange with the mouse, bracketed by open and close, over the bound
// entry points. An exchange whose entry points are not all bound is skipped
// and reports failure, so a missing export is never called.
#pragma once

#include <chrono>
#include <cstdint>

#include "device/device_api.h"

namespace talvoro {

// Waits between device calls; tests replace it so they need not wait.
using LinkSleep = void (*)(std::chrono::milliseconds);

class DeviceLink {
  public:
    explicit DeviceLink(const DeviceApi& api, LinkSleep sleep = nullptr);

    const DeviceApi& api() const { return api_; }
    void sleep(std::chrono::milliseconds duration) const;

    // Close, then open: whether the mouse answers. Leaves the handle open
    // until the next exchange closes it.
    [[nodiscard]] bool presence_check();

    // Reads the firmware information into firmware_number(); on failure the
    // last known number stays. Returns whether the read succeeded.
    [[nodiscard]] bool read_firmware_info();
    uint16_t firmware_number() const { return firmware_number_; }

    // Lights the mouse's LEDs (true) or blacks them out (false).
    [[nodiscard]] bool set_leds(bool lit);

    // Open and close for exchanges made of several calls; open() is false
    // when the mouse does not answer or an entry point is missing.
    [[nodiscard]] bool open();
    void close();

  private:
    DeviceApi api_;
    LinkSleep sleep_;
    uint16_t firmware_number_ = 0;
    uint8_t firmware_info_[2] = {};  // two further bytes, kept, not interpreted
};

// Waits of the exchanges.
inline constexpr std::chrono::milliseconds kAfterSlotWrite{250};
inline constexpr std::chrono::milliseconds kBeforeProfileSelect{100};
inline constexpr std::chrono::milliseconds kFirmwareRetry{500};
inline constexpr int kFirmwareAttempts = 21;

}  // namespace talvoro
