#include "platform/allocator_tuning.h"

#include <malloc.h>

namespace talvoro::platform {

void keep_freed_memory_for_reuse() {
    // Above every picture the program decodes (a 1025 x 701 window is 2.9 MB).
    constexpr int kLargest = 32 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargest);
    mallopt(M_TRIM_THRESHOLD, kLargest);
    // One arena: what the picture-decoding thread frees, the UI thread reuses.
    mallopt(M_ARENA_MAX, 1);
}

}  // namespace talvoro::platform
