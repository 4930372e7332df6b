// talvoro_probe --watch as a user runs it: a virtual mouse plugged out and in
// shows as removed and found lines, and Ctrl+C ends it cleanly.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

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

}  // namespace
}  // namespace talvoro::test
