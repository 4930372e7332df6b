#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "diagnostics/ui_dump_writer.h"
#include "support/temp_folder.h"
#include "text/json_string.h"
#include "window_test_window.h"

namespace talvoro::ui::test {
namespace {

TEST(UiDumpTest, ListsNamedControlsAsJson) {
    talvoro::test::TempFolder folder;
    const std::string path = folder.file("dump.json");
    const UiDumpWriter writer(path);
    RecordingWindow window;
    ASSERT_TRUE(window.build("Main \"1\"", Rect{100, 50, 300, 150}));
    window.paint_now();
    std::string json;
    {
        // Closed before the next write: Windows replaces no file a reader holds open.
        std::ifstream file(path);
        ASSERT_TRUE(file.good());
        std::stringstream text;
        text << file.rdbuf();
        json = text.str();
    }
    EXPECT_NE(json.find("{\"window\":\"Main \\\"1\\\"\",\"name\":\"ok\",\"rect\":[100,50,160,150],"
                        "\"visible\":true,\"text\":\"OK\"}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"name\":\"title\",\"rect\":[160,50,300,150],\"visible\":true,"
                        "\"text\":\"Say \\\"hi\\\"\\\\\\n\"}"),
              std::string::npos)
        << json;
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.find("\"name\":\"\""), std::string::npos) << "unnamed root listed";

    // Another layout pass rewrites the file with the new state.
    window.manager().find_control("ok")->set_visible(false);
    window.paint_now();
    std::ifstream again(path);
    std::stringstream text2;
    text2 << again.rdbuf();
    EXPECT_NE(text2.str().find("\"name\":\"ok\",\"rect\":"), std::string::npos);
    EXPECT_NE(text2.str().find("\"visible\":false,\"text\":\"OK\""), std::string::npos)
        << text2.str();
}

TEST(UiDumpTest, WriterStopsWithItsLifeAndHandsBackTheObserverItReplaced) {
    talvoro::test::TempFolder folder;
    const std::string outer_path = folder.file("outer.json");
    const std::string inner_path = folder.file("inner.json");
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    auto repaint = [&] {
        window.manager().invalidate_all();
        window.paint_now();
    };
    {
        const UiDumpWriter outer(outer_path);
        {
            const UiDumpWriter inner(inner_path);
            repaint();
            EXPECT_TRUE(std::filesystem::exists(inner_path));
            EXPECT_FALSE(std::filesystem::exists(outer_path)) << "both written";
        }
        repaint();
        EXPECT_TRUE(std::filesystem::exists(outer_path)) << "the outer writer was not put back";
        std::filesystem::remove(inner_path);
        repaint();
        EXPECT_FALSE(std::filesystem::exists(inner_path)) << "the ended writer still writes";
        std::filesystem::remove(outer_path);
    }
    repaint();
    EXPECT_FALSE(std::filesystem::exists(outer_path)) << "written with no writer alive";
}

TEST(UiDumpTest, JsonStringsEscapeWhatJsonForbids) {
    struct Case {
        std::string text;
        std::string json;
    };
    const Case cases[] = {
        {"OK", "\"OK\""},
        {"", "\"\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\skin", "\"C:\\\\skin\""},
        {"a\nb\rc\td", "\"a\\nb\\rc\\td\""},
        {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
        {std::string("nul\0", 4), "\"nul\\u0000\""},
        {"\x7f", "\"\x7f\""},
        {"微软雅黑 é", "\"微软雅黑 é\""},
    };
    for (const Case& c : cases) {
        std::string out = "[";
        append_json_string(out, c.text);
        EXPECT_EQ(out, "[" + c.json) << c.text;
    }
}

// Tools click at the dump's rectangles: on a scaled display they are physical pixels, and the
// dump says the scale, and which control has the keys' focus.
TEST(UiDumpTest, GivesPhysicalRectanglesTheScaleAndTheFocus) {
    talvoro::test::TempFolder folder;
    const std::string path = folder.file("dump.json");
    const UiDumpWriter writer(path);
    set_default_display_scale(*DisplayScale::from_percent(200));
    RecordingWindow window;
    set_default_display_scale(DisplayScale{});
    ASSERT_TRUE(window.build("Main", Rect{100, 50, 300, 150}));
    window.manager().set_focus(window.manager().find_control("ok"));
    window.paint_now();
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str().rfind("{\"scale\":200,\n\"focused\":\"ok\",", 0), 0u) << text.str();
    EXPECT_NE(text.str().find("\"name\":\"ok\",\"rect\":[100,50,220,250]"), std::string::npos)
        << text.str();
}

}  // namespace
}  // namespace talvoro::ui::test
