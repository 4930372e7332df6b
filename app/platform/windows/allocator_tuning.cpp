#include "platform/allocator_tuning.h"

namespace talvoro::platform {

// The Windows heap (the low-fragmentation heap since Vista) already keeps freed blocks for reuse
// and decommits only large runs, so there is nothing to tune.
void keep_freed_memory_for_reuse() {}

}  // namespace talvoro::platform
