#include "support/linux/weston_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace talvoro::test {

WestonSession::WestonSession(const std::string& x_display, const std::string& runtime_folder,
                             int width, int height, int scale) {
    pid_ = fork();
    if (pid_ == 0) {
        setenv("DISPLAY", x_display.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", runtime_folder.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        const int quiet = open((runtime_folder + "/weston.log").c_str(),
                               O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        const std::string size_w = "--width=" + std::to_string(width);
        const std::string size_h = "--height=" + std::to_string(height);
        const std::string scaled = "--scale=" + std::to_string(scale);
        const std::string socket = "--socket=" + socket_;
        execlp("weston", "weston", "--backend=x11-backend.so", "--use-pixman", "--idle-time=0",
               size_w.c_str(), size_h.c_str(), scaled.c_str(), socket.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ < 0) {
        error_ = "fork failed";
        return;
    }
    const std::filesystem::path path = std::filesystem::path(runtime_folder) / socket_;
    for (int waited = 0; waited < 300; ++waited) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error_ = "weston ended at start (see " + runtime_folder + "/weston.log)";
            return;
        }
        if (std::filesystem::exists(path)) {
            // The shell's panel and background follow the socket by a moment.
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    error_ = "weston opened no socket in 30 s";
}

WestonSession::~WestonSession() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

}  // namespace talvoro::test
