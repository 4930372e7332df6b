// A mouse fresh from the factory and the program's master reset agree: the
// virtual mouse's factory images, read through the library into the store,
// give the store's factory buttons, and the store's reset profiles packed by
// the library give the factory images' own bytes wherever the two mean the
// same thing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "codec_test_support.h"
#include "factory_images.h"
#include "profile_image.h"
#include "store/button_function.h"
#include "store/store_defaults.h"

namespace talvoro {
namespace {

namespace layout = protocol::image;

TEST(FactoryProfile, AFreshMouseReadsAsTheStoresFactoryButtons) {
    auto records = test::zeroed_records();
    for (size_t slot = 0; slot < records->size(); ++slot)
        unpack_profile(virtual_mouse::factory_image(slot), (*records)[slot]);
    auto store = test::zeroed_store();
    decode_profiles(*records, 1, *store);
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileBlock& block = store->profiles[p];
        EXPECT_EQ(block.in_use, 1) << "profile " << p;
        for (int b = 0; b < kButtonCount; ++b) {
            EXPECT_EQ(+block.button_function[b], kDefaultButtons[static_cast<size_t>(b)])
                << "profile " << p << " button " << b;
            EXPECT_EQ(+block.button_param[b], 0) << "profile " << p << " button " << b;
        }
    }
}

// The fields a master reset writes as the factory does. The resolutions, the
// report rate and the lift-off distance are the program's own choice.
struct SharedField {
    const char* name;
    protocol::ImageField field;
};
constexpr std::array<SharedField, 7> kSharedFields = {{
    {"profile index", layout::kProfileIndex},
    {"in use", layout::kInUse},
    {"data size", layout::kDataSize},
    {"power save", layout::kPowerSave},
    {"angle tuning", layout::kAngleTuning},
    {"smoothing", layout::kSmoothing},
    {"button table", layout::kButtonTable},
}};

TEST(FactoryProfile, AMasterResetWritesTheFactoryBytesOfTheSharedFields) {
    auto store = test::zeroed_store();
    reset_all_profiles(*store, virtual_mouse::kFactoryFirmwareVersion);
    auto records = test::zeroed_records();
    encode_profiles(*store, *records);
    for (size_t slot = 0; slot < records->size(); ++slot) {
        ProfileImage written;
        pack_profile((*records)[slot], written);
        const ProfileImage factory = virtual_mouse::factory_image(slot);
        for (const SharedField& shared : kSharedFields) {
            const auto first = static_cast<std::ptrdiff_t>(shared.field.offset);
            const auto last = static_cast<std::ptrdiff_t>(shared.field.end());
            EXPECT_TRUE(std::equal(written.begin() + first, written.begin() + last,
                                   factory.begin() + first))
                << "slot " << slot << ", " << shared.name;
        }
    }
}

}  // namespace
}  // namespace talvoro
