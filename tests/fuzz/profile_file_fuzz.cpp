// A .qxp profile file loaded into the shown profile with Load. Beyond no crash: a file of
// another size is refused, only that profile's block changes, its file name stays terminated, and
// the store then re-encodes for the mouse and prints without reading outside its buffers.
#include <cstring>

#include "fuzz_support.h"
#include "store/profile_files.h"
#include "store/store_allocation.h"
#include "store/store_defaults.h"
#include "store_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro;
    const std::string path = fuzz::write_scratch_file("profile.qxp", data, size);
    static ProfileStorePtr store = allocate_zeroed_store();
    std::memset(store.get(), 0, sizeof(ProfileStore));
    for (ProfileBlock& block : store->profiles) {
        reset_profile_block(block);
    }
    constexpr int kShown = 2;  // the third profile's block
    static ProfileStorePtr others = allocate_zeroed_store();
    std::memcpy(others.get(), store.get(), sizeof(ProfileStore));
    const int result = read_profile_file(*store, path, kShown);
    if (size == 0) {
        FUZZ_CHECK(result == kStoreEmpty);
    } else if (size != sizeof(ProfileBlock)) {
        FUZZ_CHECK(result == kStoreNotAProfile);
    } else {
        FUZZ_CHECK(result == kStoreRead || result == kStoreNoLeftButton);
    }
    for (int profile = 0; profile < kProfileCount; ++profile) {
        // A refused file changes no block at all.
        if (profile != kShown || result != kStoreRead) {
            FUZZ_CHECK(std::memcmp(&store->profiles[profile], &others->profiles[profile],
                                   sizeof(ProfileBlock)) == 0);
        }
    }
    fuzz::check_and_reencode(*store);
    return 0;
}
