// The pointer settings of Windows itself, written and read back through the system (Wine's, in
// the build's own prefix), and put back as they were after each test.
#include "platform/windows/system_parameters_mouse_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "device/system_mouse_settings.h"
#include "platform/desktop_settings_backend.h"
#include "store/profile_store.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

// A value of the user's profile, where SPIF_UPDATEINIFILE stores the settings.
std::optional<std::wstring> stored(const wchar_t* key, const wchar_t* value) {
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

class SystemParametersSettings : public ::testing::Test {
  protected:
    SystemParametersSettings() {
        double_click_ = desktop_.double_click_ms();
        wheel_ = desktop_.wheel_lines();
        speed_ = desktop_.pointer_speed();
    }
    ~SystemParametersSettings() override {
        if (double_click_)
            desktop_.set_double_click_ms(*double_click_);
        if (wheel_)
            desktop_.set_wheel_lines(*wheel_);
        if (speed_)
            desktop_.set_pointer_speed(*speed_);
    }

    SystemParametersMouseSettings desktop_;
    std::optional<int> double_click_;
    std::optional<int> wheel_;
    std::optional<int> speed_;
};

// One test, not several: the settings are the whole session's, and test programs run side by side.
TEST_F(SystemParametersSettings, WrittenValuesAreInEffectStoredAndGiveBackTheLevels) {
    ASSERT_TRUE(double_click_ && wheel_ && speed_) << "the system reports no pointer settings";

    ASSERT_TRUE(desktop_.set_double_click_ms(1350));
    EXPECT_EQ(desktop_.double_click_ms(), 1350);
    EXPECT_EQ(stored(L"Control Panel\\Mouse", L"DoubleClickSpeed"), L"1350");
    ASSERT_TRUE(desktop_.set_wheel_lines(7));
    EXPECT_EQ(desktop_.wheel_lines(), 7);
    EXPECT_EQ(stored(L"Control Panel\\Desktop", L"WheelScrollLines"), L"7");
    ASSERT_TRUE(desktop_.set_pointer_speed(14));
    EXPECT_EQ(desktop_.pointer_speed(), 14);
    EXPECT_EQ(stored(L"Control Panel\\Mouse", L"MouseSensitivity"), L"14");

    ASSERT_TRUE(desktop_.set_wheel_lines(kWheelPageScroll));
    EXPECT_EQ(desktop_.wheel_lines(), kWheelPageScroll);
    ASSERT_TRUE(desktop_.set_wheel_lines(0));
    EXPECT_EQ(desktop_.wheel_lines(), 0);

    // Out of range: refused before the system sees it, the setting as it was.
    EXPECT_FALSE(desktop_.set_double_click_ms(0));
    EXPECT_FALSE(desktop_.set_double_click_ms(5001));
    EXPECT_FALSE(desktop_.set_wheel_lines(101));
    EXPECT_FALSE(desktop_.set_wheel_lines(-2));
    EXPECT_FALSE(desktop_.set_pointer_speed(0));
    EXPECT_FALSE(desktop_.set_pointer_speed(21));
    EXPECT_EQ(desktop_.double_click_ms(), 1350);
    EXPECT_EQ(desktop_.wheel_lines(), 0);
    EXPECT_EQ(desktop_.pointer_speed(), 14);

    // A profile's levels go out through the tables and come back as the same levels.
    auto block = std::make_unique<ProfileBlock>();
    struct Levels {
        int double_click, wheel, speed;
        int ms, lines, pointer;
    };
    for (const Levels& l : {Levels{3, 4, 6, 1200, 4, 12}, Levels{10, 1, 0, 150, 1, 1},
                            Levels{0, 10, 10, 1650, 10, 20}}) {
        block->double_click_level = l.double_click;
        block->wheel_lines_level = l.wheel;
        block->pointer_speed_level = l.speed;
        apply_system_settings(*block, desktop_);
        EXPECT_EQ(GetDoubleClickTime(), static_cast<UINT>(l.ms));
        UINT lines = 0;
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
        EXPECT_EQ(lines, static_cast<UINT>(l.lines));
        int speed = 0;
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0));
        EXPECT_EQ(speed, l.pointer);

        block->double_click_level = -1;
        block->wheel_lines_level = -1;
        block->pointer_speed_level = -1;
        read_system_levels(*block, desktop_);
        EXPECT_EQ(+block->double_click_level, l.double_click);
        EXPECT_EQ(+block->wheel_lines_level, l.wheel);
        EXPECT_EQ(+block->pointer_speed_level, l.speed);
    }
}

TEST(DesktopSettingsBackendWindows, TheSystemUnlessTheFileIsForced) {
    test::TempFolder folder;
    {
        test::ScopedEnv unset("TALVORO_DESKTOP_SETTINGS", "");
        EXPECT_STREQ(make_desktop_mouse_settings(folder.file("own.ini"))->name(), "windows");
    }
    test::ScopedEnv file("TALVORO_DESKTOP_SETTINGS", "file");
    auto forced = make_desktop_mouse_settings(folder.file("own.ini"));
    EXPECT_STREQ(forced->name(), "file");
    ASSERT_TRUE(forced->set_pointer_speed(4));
    EXPECT_EQ(forced->pointer_speed(), 4);
    EXPECT_FALSE(gsettings_backend_built());
}

}  // namespace
}  // namespace talvoro
