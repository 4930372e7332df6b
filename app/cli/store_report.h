// The store as readable text, for people who script the mouse.
#pragma once

#include <cstdio>

#include "store/profile_store.h"

namespace talvoro {

// Writes the five profiles, the macros and the global settings to `out`.
void write_store_report(const ProfileStore& store, std::FILE* out);

}  // namespace talvoro
