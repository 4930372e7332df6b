// The X server's resource database (the RESOURCE_MANAGER property of the root window), where
// desktops put Xft.dpi, as xrdb sets it.
#pragma once

#include <string>

namespace talvoro::test {

// Replaces the database with `resources` ("Xft.dpi:\t192\n"); false when the display cannot be
// opened.
bool set_x_resources(const std::string& display, const std::string& resources);

}  // namespace talvoro::test
