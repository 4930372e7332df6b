// The three desktop pointer settings a profile carries as small levels, and
// the tables between those levels and the desktop's values.
#pragma once

#include <array>

#include "device/desktop_mouse_settings.h"
#include "store/profile_store.h"

namespace talvoro {

// One value per level, 0..kTopLevel. Index = level after clamping.
using LevelTable = std::array<int, kTopLevel + 1>;
inline constexpr LevelTable kDoubleClickTimesMs = {1650, 1500, 1350, 1200, 1050, 900,
                                                   750,  600,  450,  300,  150};
inline constexpr LevelTable kPointerSpeeds = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
inline constexpr LevelTable kWheelScrollLines = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// Writes the block's double-click time, wheel lines and pointer speed to the
// desktop, in that order. A refused value leaves that setting as it was and
// the others are still written.
void apply_system_settings(const ProfileBlock& block, DesktopMouseSettings& desktop);

// Sets the block's three levels from the desktop's current values.
void read_system_levels(ProfileBlock& block, const DesktopMouseSettings& desktop);

}  // namespace talvoro
