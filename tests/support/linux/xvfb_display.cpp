#include "support/linux/xvfb_display.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace talvoro::test {
namespace {

// Reads the display number up to its newline. Xvfb writes the number and the newline in two
// writes and dies when the second one fails, so the pipe stays open until the newline is in.
std::string read_display_number(int fd, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    std::string number;
    while (number.find('\n') == std::string::npos && number.size() < 16) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd ready{fd, POLLIN, 0};
        if (left <= 0 || poll(&ready, 1, static_cast<int>(left)) != 1) {
            return {};
        }
        char buffer[16];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return {};
        }
        number.append(buffer, static_cast<size_t>(got));
    }
    const size_t end = number.find('\n');
    return end == std::string::npos || end == 0 ? std::string() : number.substr(0, end);
}

}  // namespace

XvfbDisplay::XvfbDisplay(int timeout_ms, const std::string& screen) {
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp(
            "Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
            // What a test sets on the server (its resources) outlives the connection that set it.
            "-noreset", "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ > 0) {
        const std::string number = read_display_number(fds[0], timeout_ms);
        if (!number.empty()) {
            display_ = ":" + number;
        }
    }
    close(fds[0]);
}

XvfbDisplay::~XvfbDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

}  // namespace talvoro::test
