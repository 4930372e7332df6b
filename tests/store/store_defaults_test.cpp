#include "store/store_defaults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace talvoro {
namespace {

int32_t int_at(const void* base, size_t offset) {
    int32_t value;
    std::memcpy(&value, static_cast<const unsigned char*>(base) + offset, sizeof value);
    return value;
}

TEST(StoreDefaults, ResetGivesEveryProfileItsDefaultsAndKeepsTheMacros) {
    auto store = std::make_unique<ProfileStore>();
    std::memset(store.get(), 0xAB, sizeof *store);
    auto macros_before = std::make_unique<MacroStore>(store->macro_store);

    reset_all_profiles(*store, 140);

    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(store.get());
    EXPECT_EQ(int_at(bytes, 0), 1);                                         // current_profile
    EXPECT_EQ(bytes[7207033], 1);                                           // led_on
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 7207034), "V1.40");  // app_version
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 7207290), "V1.40");  // fw_version
    EXPECT_EQ(bytes[7207290 + 255], 0);
    EXPECT_EQ(std::memcmp(&store->macro_store, macros_before.get(), sizeof(MacroStore)), 0);

    const int32_t buttons[11] = {1, 2, 3, 8, 9, 4, 5, 17, 17, 11, 17};
    const int32_t cpi[8] = {800, 800, 1600, 1600, 3200, 3200, 8200, 8200};
    for (int p = 0; p < kProfileCount; ++p) {
        SCOPED_TRACE(p);
        const unsigned char* block = bytes + 4 + size_t{1030749} * p;
        EXPECT_EQ(block[0], 1);  // in_use
        EXPECT_EQ(block[1], 0);  // file_name empty
        for (int b = 0; b < 11; ++b) {
            EXPECT_EQ(int_at(block, 257 + 4 * b), buttons[b]);
            EXPECT_EQ(int_at(block, 301 + 4 * b), 0);
            EXPECT_EQ(int_at(block, 441 + 4 * b), 0);  // macro_play_mode
        }
        EXPECT_EQ(int_at(block, 345), 125);
        EXPECT_EQ(int_at(block, 349), 3);
        EXPECT_EQ(int_at(block, 353), 5);
        EXPECT_EQ(int_at(block, 357), 5);
        EXPECT_EQ(int_at(block, 361), 0);
        EXPECT_EQ(int_at(block, 365), 5);
        EXPECT_EQ(int_at(block, 369), 5);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(int_at(block, 408 + 4 * k), cpi[k]);
        EXPECT_EQ(block[440], 0);          // angle_tuning
        EXPECT_EQ(block[485], 0);          // smoothing
        EXPECT_EQ(int_at(block, 374), 0);  // optical_cpi
        const unsigned char* reserved = block + 486;
        EXPECT_TRUE(reserved[0] == 0 && std::memcmp(reserved, reserved + 1, 1030263 - 1) == 0);
    }
}

TEST(StoreDefaults, FirmwareVersionText) {
    char text[kTextField];
    std::memset(text, 'x', sizeof text);
    format_firmware_version(140, text);
    EXPECT_STREQ(text, "V1.40");
    EXPECT_EQ(text[255], 0);
    format_firmware_version(5, text);
    EXPECT_STREQ(text, "V0.05");
    format_firmware_version(1203, text);
    EXPECT_STREQ(text, "V12.03");
    format_firmware_version(65535, text);
    EXPECT_STREQ(text, "V655.35");
}

}  // namespace
}  // namespace talvoro
