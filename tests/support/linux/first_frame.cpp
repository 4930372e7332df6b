#include "support/linux/first_frame.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace talvoro::test {

FirstFrame start_until_first_frame(const std::string& program, int timeout_ms) {
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        setenv("TALVORO_FRAME_FD", std::to_string(fds[1]).c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    FirstFrame frame{pid, -1};
    if (pid < 0) {
        close(fds[0]);
        return frame;
    }
    pollfd wait_for{fds[0], POLLIN, 0};
    char line[16];
    if (poll(&wait_for, 1, timeout_ms) == 1 && read(fds[0], line, sizeof line) > 0) {
        frame.ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
    }
    close(fds[0]);
    return frame;
}

int stop_program(pid_t pid) {
    if (pid <= 0) {
        return -1;
    }
    kill(pid, SIGTERM);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace talvoro::test
