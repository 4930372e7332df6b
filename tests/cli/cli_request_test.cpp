// The command line as the program types it: each verb with its operands, and one line for each
// kind of bad input.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_request.h"
#include "store/button_function.h"

namespace talvoro::cli {
namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string word; in >> word;) {
        out.push_back(word == "_" ? "" : word);
    }
    return out;
}

TEST(CliRequest, SettingsAreTypedWithTheirValues) {
    const struct {
        const char* line;
        Setting setting;
        int profile;
        int level;
        int32_t value;
        int32_t y;
    } cases[] = {
        {"set 2 dpi 1 1600x800", Setting::kResolution, 2, 1, 1600, 800},
        {"set 5 dpi 4 8200", Setting::kResolution, 5, 4, 8200, 8200},
        {"set 1 dpi 2 200X300", Setting::kResolution, 1, 2, 200, 300},
        {"set 3 rate 500", Setting::kReportRate, 3, 0, 500, 0},
        {"set 1 lift-off 0", Setting::kLiftOff, 1, 0, 0, 0},
        {"set 1 angle-snapping OFF", Setting::kAngleSnapping, 1, 0, 0, 0},
        {"set 1 angle-snapping 10", Setting::kAngleSnapping, 1, 0, 10, 0},
        {"set 4 smoothing on", Setting::kSmoothing, 4, 0, 1, 0},
        {"set 4 power-save off", Setting::kPowerSave, 4, 0, 0, 0},
        {"set 4 power-save 120", Setting::kPowerSave, 4, 0, 120, 0},
    };
    for (const auto& c : cases) {
        const Request request = parse_request(words(c.line));
        ASSERT_EQ(request.error, "") << c.line;
        EXPECT_EQ(request.verb, Verb::kSet) << c.line;
        EXPECT_EQ(request.profile, c.profile) << c.line;
        EXPECT_EQ(request.setting.setting, c.setting) << c.line;
        EXPECT_EQ(request.setting.level, c.level) << c.line;
        EXPECT_EQ(request.setting.value, c.value) << c.line;
        EXPECT_EQ(request.setting.y, c.y) << c.line;
    }
}

TEST(CliRequest, ButtonFunctionsByMenuNameKeyDefaultAndMacro) {
    const struct {
        std::vector<std::string> args;
        FunctionKind kind;
        int32_t function;
        int32_t virtual_key;
        const char* macro;
        int32_t play_mode;
    } cases[] = {
        {{"button", "1", "2", "Right Click"}, FunctionKind::kFixed, kRightClick, 0, "", 1},
        {{"button", "1", "2", "right", "click"}, FunctionKind::kFixed, kRightClick, 0, "", 1},
        {{"button", "1", "4", "browser forward"}, FunctionKind::kFixed, kBrowserForward, 0, "", 1},
        {{"button", "1", "4", "DISABLE"}, FunctionKind::kFixed, kDisable, 0, "", 1},
        {{"button", "1", "4", "default"}, FunctionKind::kDefault, 0, 0, "", 1},
        {{"button", "1", "4", "key", "a"}, FunctionKind::kKey, kSingleKey, 'A', "", 1},
        {{"button", "1", "4", "key", "page", "down"}, FunctionKind::kKey, kSingleKey, 0x22, "", 1},
        {{"button", "1", "4", "macro", "My macro"}, FunctionKind::kMacro, kMacro, 0, "My macro", 1},
        {{"button", "1", "4", "macro", "M", "--times", "7"},
         FunctionKind::kMacro,
         kMacro,
         0,
         "M",
         7},
        {{"--toggle", "button", "1", "4", "macro", "M"},
         FunctionKind::kMacro,
         kMacro,
         0,
         "M",
         kPlayToggle},
        {{"button", "1", "4", "macro", "M", "--while-held"},
         FunctionKind::kMacro,
         kMacro,
         0,
         "M",
         kPlayWhilePressed},
    };
    for (const auto& c : cases) {
        const Request request = parse_request(c.args);
        ASSERT_EQ(request.error, "") << c.args.back();
        EXPECT_EQ(request.verb, Verb::kButton);
        EXPECT_EQ(request.profile, 1);
        EXPECT_EQ(request.function.kind, c.kind) << c.args.back();
        EXPECT_EQ(request.function.function, c.function) << c.args.back();
        EXPECT_EQ(request.function.virtual_key, c.virtual_key) << c.args.back();
        EXPECT_EQ(request.function.macro, c.macro);
        EXPECT_EQ(request.function.play_mode, c.play_mode) << c.args.back();
    }
}

TEST(CliRequest, OtherVerbsAndTheirOperands) {
    Request request = parse_request(words("get --profile 3 --json"));
    EXPECT_EQ(request.verb, Verb::kGet);
    EXPECT_EQ(request.profile, 3);
    EXPECT_TRUE(request.json);
    request = parse_request(words("profile disable 4"));
    EXPECT_EQ(request.verb, Verb::kProfileDisable);
    EXPECT_EQ(request.profile, 4);
    request = parse_request(words("led off"));
    EXPECT_EQ(request.verb, Verb::kLed);
    EXPECT_FALSE(request.on);
    request = parse_request({"macro", "export", "Long name", "out.qxm"});
    EXPECT_EQ(request.verb, Verb::kMacroExport);
    EXPECT_EQ(request.name, "Long name");
    EXPECT_EQ(request.file, "out.qxm");
    request = parse_request({"macro", "delete", "--", "-odd-"});
    EXPECT_EQ(request.error, "");
    EXPECT_EQ(request.name, "-odd-");
    // Help wins over anything else, even a bad line.
    EXPECT_EQ(parse_request(words("set 9 frob --help")).verb, Verb::kHelp);
    EXPECT_EQ(parse_request({}).verb, Verb::kNone);
}

TEST(CliRequest, BadInputIsOneLineSayingWhat) {
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"frobnicate", "unknown command 'frobnicate'"},
        {"profile", "profile needs one of its subcommands"},
        {"macro rename a b", "macro needs one of its subcommands"},
        {"set 6 rate 500", "the profile must be 1-5, not '6'"},
        {"set 0 rate 500", "the profile must be 1-5"},
        {"set 1 rate 300", "the report rate must be 125, 250, 500 or 1000, not '300'"},
        {"set 1 dpi 5 800", "the resolution level must be 1-4"},
        {"set 1 dpi 1 150", "a resolution must be 200-8200 in steps of 100, not '150'"},
        {"set 1 dpi 1 8300", "a resolution must be 200-8200"},
        {"set 1 dpi 1 850", "in steps of 100"},
        {"set 1 dpi 1 800x", "a resolution must be"},
        {"set 1 dpi 1", "set dpi takes a level and a resolution"},
        {"set 1 rate", "set needs a profile, a setting and a value"},
        {"set 1 lift-off 11", "the lift-off level must be 0-10"},
        {"set 1 lift-off -1", "the lift-off level must be 0-10"},
        {"set 1 angle-snapping on", "the angle-snapping level (or off) must be 0-10"},
        {"set 1 smoothing yes", "smoothing must be on or off, not 'yes'"},
        {"set 1 power-save 30", "power-save must be off, 60 or 120"},
        {"set 1 colour red", "unknown setting 'colour'"},
        {"set 1 rate 500 600", "set rate takes one value"},
        {"button 1 12 disable", "the button must be 1-11"},
        {"button 1 2 Warp Drive", "unknown function 'Warp Drive'"},
        {"button 1 2 key NoSuchKey", "unknown key 'NoSuchKey'"},
        {"button 1 2 disable --times 3", "--times, --while-held and --toggle are for macros"},
        {"button 1 2 macro M --times 100", "--times must be 1-99"},
        {"button 1 2 macro M --toggle --while-held", "give one of --times, --while-held and"},
        {"button 1 2", "button needs a profile, a button and a function"},
        {"profile use", "profile needs a profile number"},
        {"led dim", "led must be on or off"},
        {"macro export onlyname", "macro needs a macro name and a FILE"},
        {"get --profile 7", "the profile must be 1-5"},
        {"get --profile", "--profile needs a number"},
        {"set 1 rate 500 --json", "--json is for show, get, macro list and macro show"},
        {"macro list --profile 2", "--profile is for get"},
        {"get --colour", "unknown option '--colour'"},
        {"read", "read needs a FILE"},
        {"show a b", "unexpected argument 'b'"},
    };
    for (const auto& c : cases) {
        const Request request = parse_request(words(c.line));
        EXPECT_NE(request.error.find(c.says), std::string::npos)
            << c.line << " said: " << request.error;
        EXPECT_EQ(request.error.find('\n'), std::string::npos) << c.line;
    }
}

}  // namespace
}  // namespace talvoro::cli
