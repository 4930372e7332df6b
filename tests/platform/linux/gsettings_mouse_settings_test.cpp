#include "platform/linux/gsettings_mouse_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "device/system_mouse_settings.h"
#include "platform/desktop_settings_backend.h"
#include "platform/file_mouse_settings.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::ScopedEnv;
using test::TempFolder;

TEST(GnomeSpeed, ScaleMapsLinearlyWithTenAtZero) {
    EXPECT_EQ(gnome_speed_from_pointer_speed(10), 0.0);
    EXPECT_EQ(gnome_speed_from_pointer_speed(20), 1.0);
    EXPECT_DOUBLE_EQ(gnome_speed_from_pointer_speed(1), -0.9);
    for (int speed : kPointerSpeeds)
        EXPECT_EQ(pointer_speed_from_gnome_speed(gnome_speed_from_pointer_speed(speed)), speed);
    EXPECT_EQ(pointer_speed_from_gnome_speed(-1.0), 1);
    EXPECT_EQ(pointer_speed_from_gnome_speed(0.37), 14);
    EXPECT_EQ(pointer_speed_from_gnome_speed(7.5), 20);
    EXPECT_EQ(pointer_speed_from_gnome_speed(std::numeric_limits<double>::quiet_NaN()), 10);
}

// Values go to GLib's in-memory store, never to the desktop of whoever runs
// the tests. GLib picks its store on first use, so the variable is set
// before any backend exists.
class GSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!gsettings_backend_built())
            GTEST_SKIP() << "built without GIO";
    }

    // Compiles `schemas` (the inside of a <schemalist>) into a folder of its own.
    std::string compile_schemas(const std::string& name, const std::string& schemas) {
        const std::string dir = folder_.file(name);
        std::filesystem::create_directories(dir);
        std::ofstream(dir + "/test.gschema.xml") << "<schemalist>" << schemas << "</schemalist>\n";
        const std::string command = "glib-compile-schemas --strict '" + dir + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return dir;
    }

    std::string own_file() const { return folder_.file("desktop_mouse.ini"); }

    ScopedEnv memory_store_{"GSETTINGS_BACKEND", "memory"};
    TempFolder folder_;
};

class GnomeMouseSchema : public GSettingsTest {
  protected:
    void SetUp() override {
        GSettingsTest::SetUp();
        if (!IsSkipped() && !gsettings_mouse_schema_installed())
            GTEST_SKIP() << "org.gnome.desktop.peripherals.mouse is not installed";
    }
};

TEST_F(GnomeMouseSchema, ValuesReachTheStore) {
    auto writer = open_gsettings_mouse_settings(own_file());
    ASSERT_NE(writer, nullptr);
    for (int speed : kPointerSpeeds) {
        ASSERT_TRUE(writer->set_pointer_speed(speed));
        EXPECT_EQ(open_gsettings_mouse_settings(own_file())->pointer_speed(), speed);
    }
    ASSERT_TRUE(writer->set_double_click_ms(1350));
    ASSERT_TRUE(writer->set_wheel_lines(7));
    EXPECT_FALSE(writer->set_pointer_speed(21));
    EXPECT_FALSE(writer->set_double_click_ms(0));

    auto reader = open_gsettings_mouse_settings(own_file());
    EXPECT_EQ(reader->pointer_speed(), 20);
    EXPECT_EQ(reader->double_click_ms(), 1350);
    EXPECT_EQ(reader->wheel_lines(), 7);
    // GNOME keeps no wheel lines: they are in the program's own file.
    EXPECT_EQ(FileMouseSettings(own_file()).wheel_lines(), 7);
}

TEST_F(GnomeMouseSchema, FactoryChoosesGnomeUnlessTheFileIsForced) {
    for (const char* choice : {"", "gsettings"}) {
        ScopedEnv env("TALVORO_DESKTOP_SETTINGS", choice);
        EXPECT_STREQ(make_desktop_mouse_settings(own_file())->name(), "gsettings") << choice;
    }
    ScopedEnv forced("TALVORO_DESKTOP_SETTINGS", "file");
    auto desktop = make_desktop_mouse_settings(own_file());
    EXPECT_STREQ(desktop->name(), "file");
    ASSERT_TRUE(desktop->set_pointer_speed(16));
    EXPECT_EQ(FileMouseSettings(own_file()).pointer_speed(), 16);
}

TEST_F(GSettingsTest, NoBackendWithoutAUsableMouseSchema) {
    const std::string other = compile_schemas("other", R"(
        <schema id="org.gnome.desktop.interface" path="/org/talvoro/test/other/">
          <key name="speed" type="d"><default>0</default></key>
        </schema>)");
    EXPECT_FALSE(gsettings_mouse_schema_installed(other));
    EXPECT_EQ(open_gsettings_mouse_settings(own_file(), other), nullptr);
    // GSettings aborts on opening a schema that has no path of its own.
    const std::string relocatable = compile_schemas("relocatable", R"(
        <schema id="org.gnome.desktop.peripherals.mouse">
          <key name="speed" type="d"><default>0</default></key>
        </schema>)");
    EXPECT_EQ(open_gsettings_mouse_settings(own_file(), relocatable), nullptr);
    EXPECT_EQ(open_gsettings_mouse_settings(own_file(), folder_.file("none")), nullptr);
}

TEST_F(GSettingsTest, OlderSchemaAndNarrowerRanges) {
    const std::string dir = compile_schemas("older", R"(
        <schema id="org.gnome.desktop.peripherals.mouse" path="/org/talvoro/test/older/mouse/">
          <key name="speed" type="d"><default>0</default><range min="-0.5" max="0.5"/></key>
        </schema>
        <schema id="org.gnome.settings-daemon.peripherals.mouse"
                path="/org/talvoro/test/older/daemon/">
          <key name="double-click" type="i"><default>400</default><range min="100" max="1000"/></key>
        </schema>)");
    auto desktop = open_gsettings_mouse_settings(own_file(), dir);
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->double_click_ms(), 400);
    // Speed 15 is stored as 0.5, 16 as 0.6, past this schema's range.
    EXPECT_TRUE(desktop->set_pointer_speed(15));
    EXPECT_FALSE(desktop->set_pointer_speed(16));
    EXPECT_TRUE(desktop->set_double_click_ms(900));
    EXPECT_FALSE(desktop->set_double_click_ms(1200));

    auto reader = open_gsettings_mouse_settings(own_file(), dir);
    EXPECT_EQ(reader->pointer_speed(), 15);
    EXPECT_EQ(reader->double_click_ms(), 900);
}

TEST_F(GSettingsTest, MissingAndMistypedKeysAreNeverTouched) {
    const std::string dir = compile_schemas("odd", R"(
        <schema id="org.gnome.desktop.peripherals.mouse" path="/org/talvoro/test/odd/">
          <key name="speed" type="i"><default>0</default></key>
          <key name="double-click" type="s"><default>'400'</default></key>
        </schema>)");
    auto desktop = open_gsettings_mouse_settings(own_file(), dir);
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->pointer_speed(), std::nullopt);
    EXPECT_EQ(desktop->double_click_ms(), std::nullopt);
    EXPECT_FALSE(desktop->set_pointer_speed(10));
    EXPECT_FALSE(desktop->set_double_click_ms(500));
    ASSERT_TRUE(desktop->set_wheel_lines(kWheelPageScroll));
    EXPECT_EQ(desktop->wheel_lines(), kWheelPageScroll);
}

}  // namespace
}  // namespace talvoro
