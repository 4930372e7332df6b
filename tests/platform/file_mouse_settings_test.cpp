#include "platform/file_mouse_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/temp_folder.h"

namespace talvoro {
namespace {

using namespace std::string_view_literals;
using test::TempFolder;

struct Values {
    std::optional<int> double_click, wheel, speed;
    bool operator==(const Values&) const = default;
};

Values values_of(const std::string& path) {
    FileMouseSettings file(path);
    return {file.double_click_ms(), file.wheel_lines(), file.pointer_speed()};
}

const Values kDefaults{kDefaultDoubleClickMs, kDefaultWheelLines, kDefaultPointerSpeed};

TEST(FileMouseSettings, ValuesSurviveANewBackend) {
    TempFolder folder;
    const std::string path = folder.file("desktop_mouse.ini");
    {
        FileMouseSettings file(path);
        EXPECT_TRUE(file.set_double_click_ms(1650));
        EXPECT_TRUE(file.set_wheel_lines(kWheelPageScroll));
        EXPECT_TRUE(file.set_pointer_speed(1));
    }
    FileMouseSettings file(path);
    EXPECT_FALSE(file.set_double_click_ms(5001));
    EXPECT_FALSE(file.set_wheel_lines(-2));
    EXPECT_FALSE(file.set_pointer_speed(21));
    EXPECT_EQ(values_of(path), (Values{1650, kWheelPageScroll, 1}));
}

TEST(FileMouseSettings, MissingOrHostileFileReadsAsDefaults) {
    TempFolder folder;
    const std::string path = folder.file("desktop_mouse.ini");
    EXPECT_EQ(values_of(path), kDefaults);
    EXPECT_FALSE(std::filesystem::exists(path));

    const std::string_view files[] = {
        "[Desktop Mouse]\nDoubleClickTime=abc\nWheelScrollLines=\nPointerSpeed=0x10\n",
        "[Desktop Mouse]\nDoubleClickTime=12abc\nWheelScrollLines=-3\nPointerSpeed=99\n",
        "[Desktop Mouse]\nDoubleClickTime=99999999999\nWheelScrollLines=5000\nPointerSpeed=0\n",
        "[Other]\nDoubleClickTime=900\nWheelScrollLines=6\nPointerSpeed=4\n",
        "\x01\xff\xfe[Desktop Mouse\x00]=\n==\n[[[\n"sv,
        "[Desktop Mouse]\nPointerSpeed=1\x00"
        "2\nDoubleClickTime=\"\nWheelScrollLines= \t\n"sv,
    };
    for (std::string_view text : files) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        EXPECT_EQ(values_of(path), kDefaults) << text;
    }
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(values_of(path), kDefaults);
    EXPECT_FALSE(FileMouseSettings(path).set_double_click_ms(900));
}

TEST(FileMouseSettings, WritesMakeTheFolderOrFailCleanly) {
    TempFolder folder;
    FileMouseSettings in_new_folder(folder.file("new/data/desktop_mouse.ini"));
    EXPECT_TRUE(in_new_folder.set_pointer_speed(8));
    EXPECT_EQ(in_new_folder.pointer_speed(), 8);

    std::ofstream(folder.file("plain")) << "not a folder";
    EXPECT_FALSE(FileMouseSettings(folder.file("plain/desktop_mouse.ini")).set_wheel_lines(4));
}

}  // namespace
}  // namespace talvoro
