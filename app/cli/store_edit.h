// One change of the command line made to the store, as the window's pages make it; refused,
// with the store untouched, when it names something the store lacks or breaks a rule.
#pragma once

#include <string>

#include "cli/cli_request.h"
#include "store/profile_store.h"

namespace talvoro::cli {

// The first macro that a button of the store plays and that sends more events than a macro slot
// of the mouse holds, or -1.
int macro_too_long(const ProfileStore& store);

// The store's macro in use named `name` (byte for byte, as the macro page compares names), or
// -1.
int macro_index(const ProfileStore& store, const std::string& name);

// Brings in what the macro store file `saved` knows and the mouse does not: each run starts from
// the mouse, which keeps no names and only the macros its buttons play. A macro of the mouse takes
// the name of the saved macro that sends the same events; the saved macros left over whose names
// the store lacks follow the store's own, as far as there is room.
void add_saved_macros(ProfileStore& store, const MacroStore& saved);

// Makes the change of a set, button, profile, macro import or macro delete request. Empty when
// it was made; else one line saying why not. A macro import or delete also writes the macro
// store file, as the macro page does.
std::string edit_store(const Request& request, ProfileStore& store);

}  // namespace talvoro::cli
