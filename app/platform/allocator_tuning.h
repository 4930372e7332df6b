// Start-up allocates and frees several picture-sized buffers (files, decoded pixels, canvases).
// Kept in the heap rather than handed back to the system, freed buffers are reused at once
// instead of being faulted in again page by page, which is most of what decoding costs.
#pragma once

namespace talvoro::platform {

void keep_freed_memory_for_reuse();

}  // namespace talvoro::platform
