// talvoro_cli's bash completion, run by bash with Debian's completion helpers, as a shell at a
// prompt runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_run.h"

namespace talvoro::test {
namespace {

constexpr const char* kHelpers = "/usr/share/bash-completion/bash_completion";

// What completing `line` (the cursor at its end) offers, one entry a line.
std::string offered(const std::string& line) {
    const std::string script = std::string("source ") + kHelpers + "; source \"$1\"; " +
                               R"(COMP_LINE="$2"; COMP_POINT=${#COMP_LINE};
read -ra COMP_WORDS <<<"$COMP_LINE"; [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("");
COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=(); _talvoro_cli;
printf '%s\n' "${COMPREPLY[@]}")";
    const ProgramResult run =
        run_program("/bin/bash", {"-c", script, "bash", TALVORO_CLI_COMPLETION, line}, 10);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_EQ(run.err, "") << line;
    return run.out;
}

TEST(Completion, OffersCommandsSettingsValuesAndFunctionNames) {
    const struct {
        const char* line;
        const char* offers;
    } cases[] = {
        {"talvoro_cli se", "set\n"},
        {"talvoro_cli --json g", "get\n"},
        {"talvoro_cli set 2 ", "dpi\nrate\nlift-off\nangle-snapping\nsmoothing\npower-save\n"},
        {"talvoro_cli set 2 rate ", "125\n250\n500\n1000\n"},
        {"talvoro_cli set 2 power-save ", "off\n60\n120\n"},
        {"talvoro_cli button 1 2 D",
         "DPI\\ Up\nDPI\\ Down\nDPI\\ Level\\ Switch\nDouble\\ Click\n"},
        {"talvoro_cli button 1 2 macro Fire --w", "--while-held\n"},
        {"talvoro_cli profile ", "use\nenable\ndisable\n"},
        {"talvoro_cli macro e", "export\n"},
        {"talvoro_cli led ", "on\noff\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(offered(c.line), c.offers) << c.line;
    }
}

}  // namespace
}  // namespace talvoro::test
