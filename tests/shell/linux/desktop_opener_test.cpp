// Links on Linux go to the desktop's opener (xdg-open on the path), started detached: the window
// goes on while it runs, and a missing opener is told with the address.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "shell_fixture.h"
#include "support/temp_folder.h"

namespace talvoro::test {
namespace {

using DesktopOpenerTest = ShellTest;

TEST_F(DesktopOpenerTest, TheDesktopOpenerRunsOnWhileTheWindowGoesOnAndAMissingOneIsTold) {
    // An opener that records its arguments and then waits until the test lets it end.
    TempFolder bin;
    const std::string opener = bin.file("xdg-open");
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\n"
               << "printf '%s\\n' \"$#\" \"$@\" > '" << bin.file("args.tmp") << "'\n"
               << "i=0\n"
               << "while [ ! -e '" << bin.file("go") << "' ] && [ $i -lt 1000 ]; do\n"
               << "  sleep 0.01; i=$((i+1))\n"
               << "done\n"
               << "mv '" << bin.file("args.tmp") << "' '" << bin.file("args") << "'\n";
    }
    ASSERT_EQ(::chmod(opener.c_str(), 0755), 0);
    const std::string old_path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    auto path = std::make_unique<ScopedEnv>("PATH", bin.path() + ":" + old_path);
    real_launcher_ = true;
    start_mouse();
    open_window();
    click("techsupportbtn");
    click("update_fw_btn");
    // The click has returned while the opener still waits.
    EXPECT_FALSE(std::filesystem::exists(bin.file("args")));
    std::ofstream(bin.file("go")).put('\n');
    ASSERT_TRUE(pump_until([&] { return std::filesystem::exists(bin.file("args")); }));
    EXPECT_EQ(file_contents(bin.file("args")),
              "1\nhttps://www.talvoro.example/en/support/software\n");
    EXPECT_TRUE(notices_.shown.empty());

    // No opener anywhere on the path.
    path.reset();
    path = std::make_unique<ScopedEnv>("PATH", folder_.path());
    click("socialnetworklinkbtn");
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text, "https://social.talvoro.example/talvoro.gaming");
}

}  // namespace
}  // namespace talvoro::test
