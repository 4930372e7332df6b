#include "support/mouse_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace talvoro::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPollStep{2};

int decode_status(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

struct MouseChild::State {
    pid_t pid = -1;
    int stdout_fd = -1;
};

MouseChild::MouseChild() : state_(std::make_unique<State>()) {}

MouseChild::~MouseChild() {
    if (running())
        kill();
    if (state_->stdout_fd >= 0)
        ::close(state_->stdout_fd);
}

bool MouseChild::start(const std::vector<std::string>& arguments, std::string* error) {
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // The mouse takes its signals through its own mask; start it with a clean one.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const int spawned =
        ::posix_spawn(&state_->pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(out[1]);
    state_->stdout_fd = out[0];
    if (spawned != 0) {
        state_->pid = -1;
        *error = "cannot start " + arguments[0] + ": " + std::strerror(spawned);
        return false;
    }
    return true;
}

bool MouseChild::read_until(std::string& output, const std::string& marker,
                            std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (output.find(marker) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd fd{state_->stdout_fd, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(state_->stdout_fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;  // it ended without printing the marker
        output.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

bool MouseChild::request(MouseRequest request) {
    if (!running())
        return false;
    const int signal = request == MouseRequest::kUnplug   ? SIGUSR1
                       : request == MouseRequest::kPlugIn ? SIGUSR2
                                                          : SIGTERM;
    return ::kill(state_->pid, signal) == 0;
}

std::optional<int> MouseChild::wait(std::chrono::milliseconds timeout) {
    if (!running())
        return std::nullopt;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(state_->pid, &status, WNOHANG);
        if (done == state_->pid) {
            state_->pid = -1;
            return decode_status(status);
        }
        if (done < 0 && errno != EINTR) {
            state_->pid = -1;
            return -1;
        }
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(kPollStep);
    }
}

int MouseChild::kill() {
    if (!running())
        return -1;
    ::kill(state_->pid, SIGKILL);
    int status = 0;
    while (::waitpid(state_->pid, &status, 0) < 0 && errno == EINTR) {
    }
    state_->pid = -1;
    return decode_status(status);
}

bool MouseChild::running() const {
    return state_->pid > 0;
}

}  // namespace talvoro::test
