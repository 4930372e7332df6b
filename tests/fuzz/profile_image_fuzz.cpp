// Read_profile's unpacking of a 2,048-byte image as a mouse sends it, into a record that the heap
// guards on both sides. Beyond no crash: the record is never written past (AddressSanitizer
// watches its edges), a macro's event count never exceeds its slot, and the image read is never
// changed.
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "profile_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro;
    // A short input is the start of the image, the rest zero, as a mouse cut off mid-read.
    auto image = std::make_unique<ProfileImage>();
    image->fill(0);
    std::memcpy(image->data(), data, std::min(size, image->size()));
    const ProfileImage before = *image;
    // Exactly one record on the heap: one byte past it is a reported overflow.
    auto record = std::make_unique<ProfileRecord>();
    std::memset(record.get(), 0, sizeof(ProfileRecord));
    unpack_profile(*image, *record);
    FUZZ_CHECK(*image == before);
    for (const MacroSlot& slot : record->macros) {
        const uint32_t count = slot.event_count;
        FUZZ_CHECK(count <= TALVORO_MACRO_EVENTS);
    }
    // A record that came back packs into an image again, as apply does with it.
    if (macros_fit(*record)) {
        auto packed = std::make_unique<ProfileImage>();
        pack_profile(*record, *packed);
    }
    return 0;
}
