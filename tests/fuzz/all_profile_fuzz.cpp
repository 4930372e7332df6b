// The AllProfile file (the whole store as of the last apply) read at start-up and by Cancel, and
// by `talvoro_cli show FILE`. Beyond no crash: whatever the file held, the store keeps every
// text terminated and every count in its table, and re-encodes for the mouse and prints without
// reading outside its buffers; a failed read leaves the store as it was.
#include <cstring>

#include "fuzz_support.h"
#include "store/profile_files.h"
#include "store/store_allocation.h"
#include "store_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro;
    const std::string path = fuzz::write_scratch_file("AllProfile", data, size);
    static ProfileStorePtr store = allocate_zeroed_store();
    std::memset(store.get(), 0x5A, sizeof(ProfileStore));
    if (read_all_profiles(*store, path) != kStoreRead) {
        FUZZ_CHECK(size == 0);
        FUZZ_CHECK(store->led_on == 0x5A && store->current_profile == 0x5A5A5A5A);
        return 0;
    }
    fuzz::check_and_reencode(*store);
    return 0;
}
