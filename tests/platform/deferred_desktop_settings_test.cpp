#include "platform/deferred_desktop_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace talvoro {
namespace {

TEST(DeferredDesktopSettings, ChoosesItsBackendOnFirstUseAndThenKeepsIt) {
    test::TempFolder folder;
    test::ScopedEnv data("TALVORO_DATA_DIR", folder.path() + "/");
    test::ScopedEnv backend("TALVORO_DESKTOP_SETTINGS", "file");
    DeferredDesktopMouseSettings settings;
    EXPECT_FALSE(settings.chosen()) << "nothing is probed before it is needed";
    EXPECT_FALSE(std::filesystem::exists(folder.file("desktop_mouse.ini")));

    ASSERT_TRUE(settings.set_wheel_lines(7));
    EXPECT_TRUE(settings.chosen());
    EXPECT_STREQ(settings.name(), "file");
    EXPECT_EQ(settings.wheel_lines(), 7);
    ASSERT_TRUE(settings.set_pointer_speed(13));
    EXPECT_EQ(settings.pointer_speed(), 13);
    EXPECT_FALSE(settings.set_double_click_ms(0)) << "out of range still refused";
}

}  // namespace
}  // namespace talvoro
