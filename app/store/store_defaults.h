// The store's default state: what the program shows when the mouse cannot be
// read, and what the master reset goes back to.
#pragma once

#include <cstdint>

#include "store/profile_store.h"

namespace talvoro {

// The firmware number as the program shows it: 140 is "V1.40". The rest of
// the field is zero.
void format_firmware_version(uint16_t firmware_number, char (&out)[kTextField]);

// Puts one block into its default state: zero, then the default values.
void reset_profile_block(ProfileBlock& block);

// Puts all five profiles, the current profile, the lighting and the version
// texts into their default state. The macros are left as they are. The device
// link refreshes `firmware_number` from the mouse (or keeps the last known
// one) before calling this.
void reset_all_profiles(ProfileStore& store, uint16_t firmware_number);

}  // namespace talvoro
