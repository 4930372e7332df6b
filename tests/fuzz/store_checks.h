// What every reader of the store must leave behind, whatever it read, and what the program then
// does with such a store: re-encode it for the mouse, pack each profile's image, and print it.
#pragma once

#include "store/profile_store.h"

namespace talvoro::fuzz {

// Checks that every text of the store ends inside its field and every count stays inside its
// table, then runs the store through apply's encoding and image packing and the CLI's report
// (to /dev/null). Any read outside the store's buffers on the way is AddressSanitizer's to find.
void check_and_reencode(ProfileStore& store);

// The same for the macro part alone, as the macro page reads it.
void check_macro_store(const MacroStore& macros);

}  // namespace talvoro::fuzz
