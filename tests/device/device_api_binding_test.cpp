// Loading the device library by file name and binding its ten entry points, with
// the notices a broken installation shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/device_api_binding.h"

namespace talvoro {
namespace {

class CollectedNotices final : public UserNotices {
  public:
    void show_notice(const std::string& text, const std::string& caption) override {
        texts.push_back(text);
        captions.push_back(caption);
    }
    std::vector<std::string> texts;
    std::vector<std::string> captions;
};

TEST(DeviceApiBinding, TheShippedLibraryBindsCompletely) {
    CollectedNotices notices;
    DeviceApiBinding binding;
    ASSERT_TRUE(binding.bind(notices));
    EXPECT_TRUE(notices.texts.empty());
    const DeviceApi& api = binding.api();
    EXPECT_NE(api.Open_QX_device, nullptr);
    EXPECT_NE(api.Read_profile, nullptr);
    EXPECT_NE(api.Set_LED_black_out_off, nullptr);
    // The bound functions are the library's: with nothing open they fail cleanly.
    ASSERT_NE(api.Get_current_profile_id, nullptr);
    uint8_t slot = 9;
    EXPECT_EQ(api.Get_current_profile_id(&slot), QX_STATUS_TRANSPORT);
    EXPECT_EQ(slot, 9);
}

TEST(DeviceApiBinding, NoLibraryMeansNoProgram) {
    CollectedNotices notices;
    DeviceApiBinding binding;
    EXPECT_FALSE(binding.bind(notices, "libtalvoro_api_not_installed.so"));
    ASSERT_EQ(notices.texts.size(), 1u);
    EXPECT_EQ(notices.texts[0], "load QX api failed !\n");
    EXPECT_EQ(notices.captions[0], "Notice by App");
}

TEST(DeviceApiBinding, AMissingExportIsAnnouncedOnceAndLeftUnbound) {
    CollectedNotices notices;
    DeviceApiBinding binding;
    ASSERT_TRUE(binding.bind(notices, TALVORO_API_WITHOUT_READ_FILE));
    EXPECT_EQ(notices.texts, std::vector<std::string>{"Load Read_profile Fail !\n"});
    EXPECT_EQ(binding.api().Read_profile, nullptr);
    EXPECT_NE(binding.api().Write_profile, nullptr);
}

}  // namespace
}  // namespace talvoro
