// Pointer settings of a GNOME desktop, kept by GSettings. This header stays
// free of GLib so that code without GLib's include paths can use it; the
// backend itself lives in the .cpp. A build without GIO has no GNOME backend:
// there these functions report no schema and open nothing.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "device/desktop_mouse_settings.h"

namespace talvoro {

// GNOME's mouse "speed" runs from -1 (slowest) to 1 (fastest) with 0 as the
// normal speed. The 1..20 scale maps onto it linearly with 10 at 0, a tenth
// per step, so every speed of the scale comes back exactly; -1 is below the
// scale and reads as its slowest speed.
inline double gnome_speed_from_pointer_speed(int speed) {
    return (std::clamp(speed, kMinPointerSpeed, kMaxPointerSpeed) - kDefaultPointerSpeed) / 10.0;
}
inline int pointer_speed_from_gnome_speed(double speed) {
    if (!std::isfinite(speed))
        return kDefaultPointerSpeed;
    const long step = std::lround(std::clamp(speed, -1.0, 1.0) * 10.0);
    return std::clamp(static_cast<int>(step) + kDefaultPointerSpeed, kMinPointerSpeed,
                      kMaxPointerSpeed);
}

// Whether the GNOME mouse schema (org.gnome.desktop.peripherals.mouse) is
// installed: in `schema_dir` when one is given (a folder holding a compiled
// gschemas.compiled), else among the system's schemas.
bool gsettings_mouse_schema_installed(const std::string& schema_dir = {});

// Whether GSettings would keep values only in memory for lack of a real store
// (dconf), without anyone having asked for that through GSETTINGS_BACKEND.
bool gsettings_would_forget();

// The GNOME backend, or null when the mouse schema is not installed (or
// unusable). GNOME keeps no wheel scroll lines, so those go to the program's
// own file at `own_file`, as the file backend keeps them.
std::unique_ptr<DesktopMouseSettings> open_gsettings_mouse_settings(
    const std::string& own_file, const std::string& schema_dir = {});

}  // namespace talvoro
