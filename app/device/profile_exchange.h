// Reading the mouse into the store and applying the store to the mouse.
#pragma once

#include <cstdint>
#include <memory>

#include "device/device_events.h"
#include "device/device_link.h"
#include "device/profile_codec.h"

namespace talvoro {

class DesktopMouseSettings;

class ProfileExchange {
  public:
    ProfileExchange(ProfileStore& store, DeviceLink& link, DesktopMouseSettings& desktop,
                    DeviceEvents& events);

    // Reads the five profiles and the current one into the store. Returns 1
    // when every call succeeded, 0 when the mouse did not answer, else the
    // first failing status; on any failure the store is left unchanged (the
    // caller resets it to defaults rather than decode half-read records).
    [[nodiscard]] uint8_t read_device();

    // Writes the five profiles and selects the current one, then sets the
    // desktop settings of that profile. Returns 1, 0 when the mouse did not
    // answer, else the first failing status; on failure the desktop settings
    // are left as they were.
    [[nodiscard]] uint8_t apply_all();

    // Writes only the profiles whose records differ from `before` (the store's records as
    // encoded right after read_device), and selects the current profile only when it is not the
    // one the mouse reported; then, when anything was written, the desktop settings of the
    // current profile. Returns as apply_all; 1 with nothing written when nothing changed.
    [[nodiscard]] uint8_t apply_changed(const DeviceRecords& before);
    // How many profiles the last apply_changed wrote.
    int written_profiles() const { return written_profiles_; }

    // The store's defaults, with the firmware version read afresh.
    void reset_all_profiles();

    const DeviceRecords& mirror() const { return *mirror_; }
    // 1-based profile that is current on the mouse; 0 when none was reported.
    uint8_t device_current() const { return device_current_; }
    // 1-based profile the last apply_all stopped at because the library would not take it
    // (its macros need more room than the mouse has); 0 when none was.
    int rejected_profile() const { return rejected_profile_; }

  private:
    void progress(ExchangeStep step, int profile);
    void refresh_firmware_text();

    ProfileStore& store_;
    DeviceLink& link_;
    DesktopMouseSettings& desktop_;
    DeviceEvents& events_;
    std::unique_ptr<DeviceRecords> mirror_;  // 100 KB: kept off the stack
    uint8_t device_current_ = 0;
    int rejected_profile_ = 0;
    int written_profiles_ = 0;
};

}  // namespace talvoro
