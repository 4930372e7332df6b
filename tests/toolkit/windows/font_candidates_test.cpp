// Which files stand for the layouts' families on Windows: the system's own first, in the style
// asked for, then the faces of the text's script, then the faces shipped with the program.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/windows/font_candidates.h"

namespace talvoro::ui {
namespace {

const FontFolders kFolders{{"C:\\Windows\\Fonts", "C:\\Users\\me\\Fonts"}, "C:\\Talvoro\\fonts"};

std::vector<std::string> candidates(const std::set<std::string>& present, const FontStyle& font,
                                    const std::string& language, char32_t codepoint = 0) {
    std::vector<std::string> paths;
    for (const FontFile& file :
         font_candidates(font, language, codepoint, kFolders,
                         [&](const std::string& path) { return present.count(path) != 0; })) {
        paths.push_back(file.path);
    }
    return paths;
}

TEST(FontCandidates, SystemFamiliesInTheirStyleThenTheScriptThenTheShippedFaces) {
    const std::set<std::string> windows = {
        "C:\\Windows\\Fonts\\verdana.ttf",     "C:\\Windows\\Fonts\\verdanab.ttf",
        "C:\\Windows\\Fonts\\msjh.ttc",        "C:\\Windows\\Fonts\\msyh.ttc",
        "C:\\Windows\\Fonts\\segoeui.ttf",     "C:\\Users\\me\\Fonts\\verdanai.ttf",
        "C:\\Talvoro\\fonts\\DejaVuSans.ttf",  "C:\\Talvoro\\fonts\\DejaVuSans-Bold.ttf",
        "C:\\Talvoro\\fonts\\wqy-microhei.ttc"};
    // Wine: nothing of the system's, only what the program ships.
    const std::set<std::string> wine = {"C:\\Talvoro\\fonts\\DejaVuSans.ttf",
                                        "C:\\Talvoro\\fonts\\DejaVuSans-Bold.ttf",
                                        "C:\\Talvoro\\fonts\\wqy-microhei.ttc"};
    const struct {
        const std::set<std::string>* present;
        FontStyle font;
        const char* language;
        char32_t codepoint;
        std::string first;
        std::string last;
    } cases[] = {
        {&windows,
         {"Verdana", 12},
         "",
         0,
         "C:\\Windows\\Fonts\\verdana.ttf",
         "C:\\Talvoro\\fonts\\wqy-microhei.ttc"},
        {&windows, {"verdana", 12, true}, "", 0, "C:\\Windows\\Fonts\\verdanab.ttf", ""},
        // The italic face is the user's own install.
        {&windows,
         {"Verdana", 12, false, false, true},
         "",
         0,
         "C:\\Users\\me\\Fonts\\verdanai.ttf",
         ""},
        {&windows, {"Microsoft JhengHei", 12}, "", 0, "C:\\Windows\\Fonts\\msjh.ttc", ""},
        {&windows, {"微软雅黑", 12}, "", 0, "C:\\Windows\\Fonts\\msyh.ttc", ""},
        // Chinese text in a Latin family goes to the script's face.
        {&windows, {"Verdana", 12}, "zh-tw", 0, "C:\\Windows\\Fonts\\verdana.ttf", ""},
        {&windows, {"Comic Sans MS", 12}, "zh-tw", 0, "C:\\Windows\\Fonts\\msjh.ttc", ""},
        {&windows, {"Comic Sans MS", 12}, "", U'\u6EDA', "C:\\Windows\\Fonts\\msyh.ttc", ""},
        {&windows, {"Comic Sans MS", 12}, "", 0, "C:\\Windows\\Fonts\\segoeui.ttf", ""},
        {&wine,
         {"Verdana", 12},
         "",
         0,
         "C:\\Talvoro\\fonts\\DejaVuSans.ttf",
         "C:\\Talvoro\\fonts\\wqy-microhei.ttc"},
        {&wine, {"Verdana", 12, true}, "", 0, "C:\\Talvoro\\fonts\\DejaVuSans-Bold.ttf", ""},
        {&wine,
         {"Microsoft YaHei", 12},
         "",
         0,
         "C:\\Talvoro\\fonts\\wqy-microhei.ttc",
         "C:\\Talvoro\\fonts\\DejaVuSans.ttf"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> paths =
            candidates(*c.present, c.font, c.language, c.codepoint);
        ASSERT_FALSE(paths.empty()) << c.font.family;
        EXPECT_EQ(paths.front(), c.first) << c.font.family << " " << c.language;
        if (!c.last.empty()) {
            EXPECT_EQ(paths.back(), c.last) << c.font.family;
        }
        EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()).size(), paths.size())
            << "a file is offered once";
    }
    EXPECT_TRUE(candidates({}, {"Verdana", 12}, "").empty());
}

}  // namespace
}  // namespace talvoro::ui
