// The command-line conventions the four programs share, checked on the programs as built: --help,
// --version, usage errors, and talvoro_gui without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "talvoro_version.h"

namespace talvoro::test {
namespace {

namespace fs = std::filesystem;

// The deadline of a program that should end at once; past it the program is killed (status 137).
constexpr int kDeadlineSeconds = 5;

size_t line_count(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::string last_line(std::string text) {
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text.substr(text.rfind('\n') + 1);  // npos + 1 is 0: the only line
}

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Removes a variable for the test's length and puts it back afterwards.
class ScopedUnset {
  public:
    explicit ScopedUnset(const char* name) : name_(name) {
        if (const char* old = std::getenv(name))
            old_value_ = old;
        ::unsetenv(name);
    }
    ~ScopedUnset() {
        if (old_value_)
            ::setenv(name_.c_str(), old_value_->c_str(), 1);
    }
    ScopedUnset(const ScopedUnset&) = delete;
    ScopedUnset& operator=(const ScopedUnset&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_value_;
};

struct ProgramLines {
    const char* name;
    // Command lines each of which is a usage error: an unknown option, a missing or an extra
    // argument.
    std::vector<std::vector<std::string>> wrong;
};

const ProgramLines kPrograms[] = {
    {"talvoro_gui", {{"--no-such-option"}, {"extra"}, {"--version", "extra"}, {"-x"}}},
    {"talvoro_cli", {{"--no-such-option"}, {"read"}, {"show", "a.all", "b.all"}, {"frobnicate"}}},
    {"talvoro_probe", {{"--no-such-option"}, {"--slot"}, {"--slot", "5"}, {"stray"}}},
    {"talvoro_virtual_mouse", {{"--no-such-option"}, {"--name"}, {"--help=yes"}}},
};

TEST(ProgramOptions, EveryProgramAnswersHelpAndVersionAndRefusesAWrongLine) {
    for (const ProgramLines& program : kPrograms) {
        SCOPED_TRACE(program.name);
        const std::string path = built_program(program.name);
        ASSERT_TRUE(fs::exists(path)) << path;

        const ProgramResult help = run_program(path, {"--help"}, kDeadlineSeconds);
        EXPECT_EQ(help.exit_status, 0) << help.err;
        EXPECT_TRUE(starts_with(help.out, "Usage: ")) << help.out;
        EXPECT_NE(help.out.find("--help"), std::string::npos) << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
        EXPECT_EQ(help.err, "");

        const ProgramResult version = run_program(path, {"--version"}, kDeadlineSeconds);
        EXPECT_EQ(version.exit_status, 0) << version.err;
        EXPECT_EQ(version.out, std::string(program.name) + " " + kTalvoroVersion + "\n");
        EXPECT_EQ(version.err, "");

        for (const std::vector<std::string>& line : program.wrong) {
            SCOPED_TRACE(testing::PrintToString(line));
            const ProgramResult wrong = run_program(path, line, kDeadlineSeconds);
            EXPECT_EQ(wrong.exit_status, 2) << wrong.err;
            EXPECT_EQ(wrong.out, "") << "nothing on standard output for a usage error";
            EXPECT_EQ(line_count(wrong.err), 1u) << wrong.err;
            EXPECT_TRUE(starts_with(wrong.err, std::string(program.name) + ": ")) << wrong.err;
            EXPECT_NE(wrong.err.find("(see --help)"), std::string::npos) << wrong.err;
        }
    }
}

// talvoro_gui with no display named anywhere, and with one named that nobody serves: one line on
// standard error and status 1, long before the deadline, instead of a window nobody sees.
TEST(ProgramOptions, TheGuiWithoutADisplaySaysSoAndEnds) {
    TempFolder folder;
    ScopedUnset display("DISPLAY");
    ScopedUnset wayland("WAYLAND_DISPLAY");
    ScopedUnset driver("SDL_VIDEODRIVER");
    ScopedEnv data("TALVORO_DATA_DIR", folder.file("data"));
    ScopedEnv runtime("XDG_RUNTIME_DIR", folder.file("run"));
    ASSERT_TRUE(fs::create_directory(folder.file("run")));
    fs::permissions(folder.file("run"), fs::perms::owner_all);
    const std::string gui = built_program("talvoro_gui");
    const std::string told = "talvoro_gui: no display to open a window on; ";

    const auto started = std::chrono::steady_clock::now();
    ProgramResult result = run_program(gui, {}, kDeadlineSeconds);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(result.exit_status, 1) << "137: still running at the deadline\n" << result.err;
    EXPECT_EQ(line_count(result.err), 1u) << result.err;
    EXPECT_TRUE(starts_with(result.err, told)) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_LT(took, std::chrono::seconds(kDeadlineSeconds));
    // Known before anything was taken: no instance lock, no data folder.
    EXPECT_TRUE(fs::is_empty(folder.file("run")));
    EXPECT_FALSE(fs::exists(folder.file("data")));

    // A display named but not there: SDL falls back to a driver that shows nothing, which is no
    // display either. What the display libraries print before is theirs; the program's is last.
    ScopedEnv nowhere("DISPLAY", ":64999");
    // Under the leak checker: what the display libraries keep until exit is theirs, by design.
    ScopedEnv leaks("LSAN_OPTIONS",
                    "suppressions=" TALVORO_LSAN_SUPPRESSIONS ":print_suppressions=0");
    result = run_program(gui, {}, kDeadlineSeconds);
    EXPECT_EQ(result.exit_status, 1) << "137: still running at the deadline\n" << result.err;
    EXPECT_TRUE(starts_with(last_line(result.err), told)) << result.err;
    EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace talvoro::test
