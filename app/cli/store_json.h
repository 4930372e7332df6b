// The store as JSON for scripts; docs/cli.md gives the schema.
#pragma once

#include <string>

#include "store/profile_store.h"

namespace talvoro::cli {

// Everything `get --json` prints: the current profile, the firmware version, the desktop levels,
// the five profiles and the macros.
std::string store_json(const ProfileStore& store);
// One profile (1..5), as it appears in store_json's "profiles".
std::string profile_json(const ProfileStore& store, int profile);
// The macros in use, each with its name and step count.
std::string macro_list_json(const ProfileStore& store);
// Macro `index` (0-based) with its listed steps.
std::string macro_json(const ProfileStore& store, int index);

}  // namespace talvoro::cli
