// The program's one ProfileStore, 7 MB of which most stays zero: taken as zero pages from the
// system, so only what the program writes ever becomes resident, and start-up does not pay for
// clearing it.
#pragma once

#include <cstdlib>
#include <memory>

#include "store/profile_store.h"

namespace talvoro {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using ProfileStorePtr = std::unique_ptr<ProfileStore, FreeDeleter>;

// All bytes zero; null only when the system has no memory to give.
ProfileStorePtr allocate_zeroed_store();

}  // namespace talvoro
