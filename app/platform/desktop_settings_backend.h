// Choosing where the desktop's pointer settings are read and written.
#pragma once

#include <memory>
#include <string>

#include "device/desktop_mouse_settings.h"

namespace talvoro {

// On Linux, the GNOME backend where this build has it, its schema is
// installed and GSettings has a real store behind it; else the program's own
// file. TALVORO_DESKTOP_SETTINGS=file or =gsettings forces one; a forced GNOME
// backend whose schema is missing falls back to the file all the same.
// Values the desktop does not keep go to `own_file`. On Windows, the system's
// own settings (SystemParametersInfoW); TALVORO_DESKTOP_SETTINGS=file forces
// the file there too.
std::unique_ptr<DesktopMouseSettings> make_desktop_mouse_settings(const std::string& own_file);
// The same with the file in the program's data folder.
std::unique_ptr<DesktopMouseSettings> make_desktop_mouse_settings();

// Whether this build has the GNOME backend (GIO was found at build time).
bool gsettings_backend_built();

}  // namespace talvoro
