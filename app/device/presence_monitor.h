// Noticing the mouse leave and return while the program runs, and what the
// window shows meanwhile.
#pragma once

#include <cstdint>
#include <string_view>

#include "device/device_link.h"
#include "device/device_link_ui.h"
#include "device/profile_exchange.h"

namespace talvoro {

// Device-change events the watcher delivers, with their window-message values.
inline constexpr uint32_t kDeviceArrival = 0x8000;
inline constexpr uint32_t kDeviceRemoveComplete = 0x8004;
// Broadcasts about device interfaces; every other kind is ignored.
inline constexpr uint32_t kDeviceTypeInterface = 5;
// Popup flag: the not-detected popup is on screen.
inline constexpr uint32_t kNotDetectedShown = 0x8000;

// The main window's part of the presence state.
struct PresenceState {
    bool device_absent = false;
    uint32_t popup_flags = 0;
};

class PresenceMonitor {
  public:
    PresenceMonitor(DeviceLink& link, ProfileExchange& exchange, ProfileStore& store,
                    DeviceLinkUi& ui);

    // At window initialisation: read the mouse, or wait for it (no popup yet).
    void initial_check();
    // Read everything afresh (defaults when the read fails) and refresh the pages.
    void device_refresh();
    // A device-change message from the watcher.
    void on_device_change(uint32_t event, uint32_t device_type, std::string_view interface_name);
    // Input over the window while the mouse is missing brings the popup back.
    void on_input_while_absent();

    PresenceState& state() { return state_; }
    const PresenceState& state() const { return state_; }

  private:
    void show_not_detected_once();
    void wait_for_firmware();

    DeviceLink& link_;
    ProfileExchange& exchange_;
    ProfileStore& store_;
    DeviceLinkUi& ui_;
    PresenceState state_;
};

}  // namespace talvoro
