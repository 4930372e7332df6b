// talvoro_probe as a user runs it: --list names every collection of every
// interface with its verdict, and in --watch a virtual mouse plugged out and
// in shows as removed and found lines, and Ctrl+C ends it cleanly.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "composite_descriptors.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

// Reads from `fd` until `text` has appeared in `seen` after position `from`,
// or five seconds pass.
bool wait_for_text(int fd, std::string& seen, const std::string& text, size_t from = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (seen.find(text, from) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char buffer[512];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        seen.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

TEST(ProbeWatch, ShowsAMousePluggedOutAndIn) {
    TempFolder folder;
    ScopedEnv hid_dir("TALVORO_HID_DIR", folder.path());
    ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const std::string probe = built_program("talvoro_probe");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(probe.c_str(), probe.c_str(), "--watch", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string seen;
    ASSERT_TRUE(wait_for_text(out[0], seen, "watching")) << seen;

    VirtualMouseProcess mouse(folder.path());
    EXPECT_TRUE(wait_for_text(out[0], seen, "found    device 1")) << seen;
    mouse.unplug();
    EXPECT_TRUE(wait_for_text(out[0], seen, "removed  device 1")) << seen;
    mouse.plug_in();
    EXPECT_TRUE(wait_for_text(out[0], seen, "found    device 1", seen.find("removed"))) << seen;

    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "Ctrl+C ends it cleanly";
    close(out[0]);
}

TEST(ProbeList, NamesEveryCollectionAndWhyItIsTakenOrPassedOver) {
    TempFolder folder;
    ScopedEnv hid_dir("TALVORO_HID_DIR", folder.path());
    ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    const std::string file = write_descriptor(
        folder.file("composite.desc"), composite({&kKeyboardCollection, &kConsumerCollection}));
    VirtualMouseProcess mouse(folder.path(), {"--config-descriptor", file});

    const ProgramResult result = run_program(built_program("talvoro_probe"), {"--list"});
    EXPECT_EQ(result.exit_status, 0) << result.out << result.err;
    const std::string& out = result.out;
    const size_t config = out.find(mouse.socket_path(1));
    ASSERT_NE(config, std::string::npos) << out;
    const auto line_with = [&](const std::string& text) {
        const size_t at = out.find(text, config);
        if (at == std::string::npos)
            return std::string();
        const size_t begin = out.rfind('\n', at) + 1;
        return out.substr(begin, out.find('\n', at) - begin);
    };
    EXPECT_NE(line_with("configuration interface"), "") << out;
    EXPECT_NE(line_with("collection 1  usage 0001:0006")
                  .find("passed over: not the configuration collection (usage page)"),
              std::string::npos)
        << out;
    EXPECT_NE(line_with("collection 2  usage 000C:0001").find("passed over"), std::string::npos)
        << out;
    EXPECT_NE(line_with("collection 3  usage FF01:0002").find("feature 1041  taken"),
              std::string::npos)
        << out;
    // The pointer interface before it: one collection, passed over.
    EXPECT_NE(out.find("collection 1  usage 0001:0002"), std::string::npos) << out;
    EXPECT_LT(out.find(mouse.socket_path(0)), config);
}

}  // namespace
}  // namespace talvoro::test
