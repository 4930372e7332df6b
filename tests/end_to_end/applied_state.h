// What an apply leaves behind, as both windows' end-to-end tests check it: AllProfile in the data
// folder, and the virtual mouse's state file holding exactly the program's encoding of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/profile_store.h"

namespace talvoro::test {

// The byte of the mouse's state file that holds its current profile slot.
inline constexpr size_t kStateCurrentSlot = 10240;

std::vector<uint8_t> file_bytes(const std::string& path);

// AllProfile of `data_folder` once it has been written whole, within `timeout_seconds`; nothing
// when it was not.
std::unique_ptr<ProfileStore> wait_for_all_profiles(const std::string& data_folder,
                                                    int timeout_seconds);

// The slots of `state` (the mouse's state file) that differ from the encoding of `store`,
// "slot 2, slot 4"; empty when the mouse holds exactly what the store encodes.
std::string slots_unlike_store(const ProfileStore& store, const std::vector<uint8_t>& state);

}  // namespace talvoro::test
