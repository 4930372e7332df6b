// The profile codec's decode of what a mouse sends: up to five 2,048-byte images (a short input
// is their start, the rest zero) and the current-profile byte, unpacked as Read_profile does and
// decoded into the store, as the start-up read does. Beyond no crash: the decoded store keeps
// every text terminated and every count in its table, and re-encodes for the mouse and prints
// without reading outside its buffers.
#include <algorithm>
#include <cstring>
#include <memory>

#include "device/profile_codec.h"
#include "fuzz_support.h"
#include "profile_image.h"
#include "store/store_allocation.h"
#include "store_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro;
    if (size < 1) {
        return 0;
    }
    const uint8_t current = data[0];
    ++data;
    --size;
    auto records = std::make_unique<DeviceRecords>();
    auto image = std::make_unique<ProfileImage>();
    for (size_t slot = 0; slot < records->size(); ++slot) {
        image->fill(0);
        const size_t offset = slot * image->size();
        if (offset < size) {
            std::memcpy(image->data(), data + offset, std::min(image->size(), size - offset));
        }
        ProfileRecord& record = (*records)[slot];
        std::memset(&record, 0, sizeof record);
        unpack_profile(*image, record);
    }
    static ProfileStorePtr store = allocate_zeroed_store();
    std::memset(store.get(), 0, sizeof(ProfileStore));
    decode_profiles(*records, current, *store);
    compact_macros(*store);
    fuzz::check_and_reencode(*store);
    return 0;
}
