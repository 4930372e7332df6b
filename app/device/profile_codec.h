// The five profiles of the store as the mouse's five records, both ways.
#pragma once

#include <array>
#include <cstdint>

#include "store/profile_store.h"
#include "talvoro_api.h"

namespace talvoro {

using DeviceRecords = std::array<ProfileRecord, kProfileCount>;

// Fills `records` from the store for Write_profile. Repairs current_profile
// (0 or above 5 becomes 1; a profile not in use gives way to the first one in
// use) and clamps angle snapping in the store. Returns the 1-based profile to
// make current.
uint8_t encode_profiles(ProfileStore& store, DeviceRecords& records);

// Rebuilds the five blocks and the macros that their buttons name from
// records that Read_profile filled; `device_current` is the 1-based current
// profile (0 = none reported). The desktop-setting levels, firmware text and
// macro compaction are the caller's.
void decode_profiles(DeviceRecords& records, uint8_t device_current, ProfileStore& store);

// Packs the macros that buttons name to the front of the table, renumbering
// the buttons, and sets macro_count.
void compact_macros(ProfileStore& store);

}  // namespace talvoro
