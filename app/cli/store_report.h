// The store as readable text, for people who script the mouse.
#pragma once

#include <cstdio>

#include "store/profile_store.h"

namespace talvoro {

// Writes the five profiles, the macros and the global settings to `out`.
void write_store_report(const ProfileStore& store, std::FILE* out);
// One profile (0-based `index`) as the whole report shows it.
void write_profile_report(const ProfileStore& store, int index, std::FILE* out);
// The macros in use, a line each: number, name, steps.
void write_macro_list(const ProfileStore& store, std::FILE* out);
// Macro `index` (0-based) and its steps, worded as the English macro page lists them.
void write_macro_report(const ProfileStore& store, int index, std::FILE* out);

}  // namespace talvoro
