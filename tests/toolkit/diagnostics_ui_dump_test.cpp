#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "diagnostics/ui_dump_writer.h"
#include "support/temp_folder.h"
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
    std::ifstream file(path);
    ASSERT_TRUE(file.good());
    std::stringstream text;
    text << file.rdbuf();
    const std::string json = text.str();
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

}  // namespace
}  // namespace talvoro::ui::test
