// The manual pages as installed: each renders without a warning, carries the release version,
// has the sections a reader looks for, and describes every long option its program's --help
// lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "support/program_run.h"
#include "talvoro_version.h"

namespace talvoro::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrograms[] = {"talvoro_gui", "talvoro_cli", "talvoro_probe",
                                     "talvoro_virtual_mouse"};
constexpr const char* kSections[] = {"NAME",        "SYNOPSIS",    "DESCRIPTION", "OPTIONS",
                                     "EXIT STATUS", "ENVIRONMENT", "FILES",       "SEE ALSO"};

std::set<std::string> long_options(const std::string& text) {
    static const std::regex option("--[a-z][a-z-]*[a-z]");
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

// Groff writes a minus as U+2212 and a hyphen as U+2010 where the system does not map them back
// to ASCII; a reader types '-' either way.
std::string with_ascii_dashes(std::string text) {
    for (const std::string wide : {"\u2212", "\u2010"}) {
        for (size_t at = text.find(wide); at != std::string::npos; at = text.find(wide, at))
            text.replace(at, wide.size(), "-");
    }
    return text;
}

TEST(ManPages, RenderCleanlyAndDescribeEveryOptionOfTheirProgram) {
    for (const char* name : kPrograms) {
        SCOPED_TRACE(name);
        const std::string page = std::string(TALVORO_MAN_DIR) + "/" + name + ".1";
        ASSERT_TRUE(fs::exists(page)) << page;

        const ProgramResult check =
            run_program(TALVORO_GROFF, {"-man", "-Tutf8", "-ww", "-z", page}, 30);
        ASSERT_NE(check.exit_status, 127) << TALVORO_GROFF << " is missing: install groff-base";
        EXPECT_EQ(check.exit_status, 0);
        EXPECT_EQ(check.err, "") << "groff warns about " << page;

        // Plain text, no hyphenation: an option is never split across lines.
        const ProgramResult rendered =
            run_program(TALVORO_GROFF, {"-man", "-Tutf8", "-P", "-cbou", "-rHY=0", page}, 30);
        ASSERT_EQ(rendered.exit_status, 0) << rendered.err;
        const std::string text = with_ascii_dashes(rendered.out);
        EXPECT_NE(text.find(std::string("talvoro ") + kTalvoroVersion), std::string::npos)
            << "the release version is in the page's title line";
        for (const char* section : kSections)
            EXPECT_NE(text.find(std::string("\n") + section + "\n"), std::string::npos) << section;

        const ProgramResult help = run_program(built_program(name), {"--help"}, 30);
        ASSERT_EQ(help.exit_status, 0) << help.err;
        const std::set<std::string> listed = long_options(help.out);
        EXPECT_TRUE(listed.contains("--help") && listed.contains("--version")) << help.out;
        const std::set<std::string> described = long_options(text);
        for (const std::string& option : listed)
            EXPECT_TRUE(described.contains(option)) << option << " is not in " << page;
    }
}

}  // namespace
}  // namespace talvoro::test
