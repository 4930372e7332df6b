// Starting a program without waiting for it: it outlives the call, is no child of ours (so no
// zombie is left), and a program that cannot be run is reported as not started.
#include "platform/detached_launch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace talvoro::platform {
namespace {

struct ProcessStat {
    char state = '?';
    pid_t parent = 0;
};

// From /proc/<pid>/stat: the field after the parenthesised name is the state, then the parent.
std::optional<ProcessStat> process_stat(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    const size_t name_end = line.rfind(')');
    if (name_end == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream rest(line.substr(name_end + 1));
    ProcessStat stat;
    rest >> stat.state >> stat.parent;
    return stat;
}

// Our children that have ended but were not reaped.
std::vector<pid_t> zombie_children() {
    std::vector<pid_t> zombies;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const auto stat = process_stat(std::stoi(name));
        if (stat && stat->parent == ::getpid() && stat->state == 'Z') {
            zombies.push_back(std::stoi(name));
        }
    }
    return zombies;
}

bool wait_for_file(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(DetachedLaunch, TheProgramOutlivesTheCallAsNoChildOfOursAndLeavesNoZombie) {
    test::TempFolder folder;
    const std::string pid_file = folder.file("pid");
    const std::string go = folder.file("go");
    const std::string done = folder.file("done");
    // Writes its pid, waits to be let go (10 s at most), then reports its standard input.
    const std::string script = "echo $$ > '" + pid_file + "'.tmp; mv '" + pid_file + "'.tmp '" +
                               pid_file + "'; i=0; while [ ! -e '" + go +
                               "' ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done; "
                               "if read line; then echo input > '" +
                               done + "'; else echo eof > '" + done + "'; fi";
    const DetachedLaunch launch = launch_detached({"sh", "-c", script});
    ASSERT_TRUE(launch.started) << launch.error;
    ASSERT_TRUE(wait_for_file(pid_file));
    pid_t program = 0;
    std::ifstream(pid_file) >> program;
    ASSERT_GT(program, 0);
    // Still running after the call returned, and not ours to reap.
    const auto stat = process_stat(program);
    ASSERT_TRUE(stat.has_value());
    EXPECT_NE(stat->state, 'Z');
    EXPECT_NE(stat->parent, ::getpid());
    EXPECT_EQ(::getsid(program), program) << "a session of its own";
    EXPECT_FALSE(std::filesystem::exists(done));
    EXPECT_TRUE(zombie_children().empty()) << "the middle process was reaped";

    std::ofstream(go).put('\n');
    ASSERT_TRUE(wait_for_file(done));
    std::string input;
    std::ifstream(done) >> input;
    EXPECT_EQ(input, "eof") << "standard input is /dev/null";
    EXPECT_TRUE(zombie_children().empty());
}

TEST(DetachedLaunch, AProgramThatCannotRunIsReportedAsNotStarted) {
    test::TempFolder folder;
    const std::string not_executable = folder.file("plain");
    std::ofstream(not_executable) << "#!/bin/sh\nexit 0\n";
    ASSERT_EQ(::chmod(not_executable.c_str(), 0644), 0);

    struct Case {
        std::vector<std::string> argv;
        int error;
    };
    const std::vector<Case> cases = {
        {{"talvoro-no-such-opener"}, ENOENT},     // not in PATH: found out before any fork
        {{folder.file("missing"), "x"}, ENOENT},  // exec itself fails, told through the pipe
        {{not_executable}, EACCES},               // the same for a file without execute bits
        {{}, EINVAL},
        {{""}, EINVAL},
    };
    for (const Case& c : cases) {
        const DetachedLaunch launch = launch_detached(c.argv);
        EXPECT_FALSE(launch.started) << (c.argv.empty() ? "(none)" : c.argv[0]);
        EXPECT_EQ(launch.error, c.error) << (c.argv.empty() ? "(none)" : c.argv[0]);
    }
    // A program on the PATH starts; nothing of any attempt is left to reap.
    EXPECT_TRUE(launch_detached({"true"}).started);
    EXPECT_TRUE(zombie_children().empty());
}

}  // namespace
}  // namespace talvoro::platform
