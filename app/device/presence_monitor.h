// Noticing the mouse leave and return while the program runs, and what the
// window shows meanwhile.
#pragma once

#include <cstdint>

#include "device/device_events.h"
#include "device/device_link.h"
#include "device/profile_exchange.h"
#include "watch/device_change.h"

namespace talvoro {

// Popup flag: the not-detected popup is on screen.
inline constexpr uint32_t kNotDetectedShown = 0x8000;

// The main window's part of the presence state.
struct PresenceState {
    bool device_absent = false;
    uint32_t popup_flags = 0;
};

class PresenceMonitor {
  public:
    PresenceMonitor(DeviceLink& link, ProfileExchange& exchange, DeviceEvents& events);

    // At window initialisation: read the mouse, or wait for it (no popup yet).
    void initial_check();
    // Read everything afresh (defaults when the read fails), then report the refresh done.
    void device_refresh();
    // An interface arrived or left; only the mouse's own matter.
    void on_device_change(const watch::DeviceChange& change);
    // Input over the window while the mouse is missing brings the popup back.
    void on_input_while_absent();

    PresenceState& state() { return state_; }
    const PresenceState& state() const { return state_; }

  private:
    void show_not_detected_once();
    void wait_for_firmware();

    DeviceLink& link_;
    ProfileExchange& exchange_;
    DeviceEvents& events_;
    PresenceState state_;
};

}  // namespace talvoro
