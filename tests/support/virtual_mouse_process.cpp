#include "support/virtual_mouse_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace talvoro::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kDeadline{5};
constexpr std::chrono::milliseconds kPollStep{2};

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

int decode_status(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

VirtualMouseProcess::VirtualMouseProcess(const std::string& folder, std::vector<std::string> args,
                                         std::string name, std::string program)
    : folder_(folder), name_(std::move(name)), state_file_(folder + "/" + name_ + ".state") {
    std::vector<std::string> argv_strings = {
        std::move(program),  "--dir", folder_, "--name", name_, "--state", state_file_,
        "--exit-with-parent"};
    argv_strings.insert(argv_strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argv_strings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return;
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
    const int spawned = ::posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(out[1]);
    stdout_fd_ = out[0];
    if (spawned != 0) {
        pid_ = -1;
        ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(spawned);
        return;
    }

    // Read its standard output until the "ready" line.
    std::string output;
    const auto deadline = Clock::now() + kDeadline;
    while (output.find("ready\n") == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{stdout_fd_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(stdout_fd_, buffer, sizeof buffer);
        if (n <= 0)
            break;  // it ended without getting ready
        output.append(buffer, static_cast<size_t>(n));
    }
    if (output.find("ready\n") == std::string::npos) {
        ADD_FAILURE() << "the virtual mouse did not get ready; it printed: '" << output << "'";
        return;
    }
    for (int number : {0, 1}) {
        if (exists(socket_path(number)))
            interfaces_.push_back(number);
    }
}

VirtualMouseProcess::~VirtualMouseProcess() {
    if (pid_ > 0)
        stop();
    if (stdout_fd_ >= 0)
        ::close(stdout_fd_);
}

void VirtualMouseProcess::wait_for_sockets(bool present, const char* what) {
    const auto deadline = Clock::now() + kDeadline;
    for (;;) {
        bool done = true;
        for (int number : interfaces_)
            done = done && exists(socket_path(number)) == present;
        if (done)
            return;
        if (Clock::now() >= deadline) {
            ADD_FAILURE() << "the virtual mouse did not " << what << " within 5 s";
            return;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

void VirtualMouseProcess::unplug() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGUSR1);
    wait_for_sockets(false, "unplug");
}

void VirtualMouseProcess::plug_in() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGUSR2);
    wait_for_sockets(true, "plug in");
}

int VirtualMouseProcess::stop() {
    if (pid_ <= 0)
        return exit_status_;
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + kDeadline;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_)
            break;
        if (done < 0 && errno != EINTR) {
            ADD_FAILURE() << "waitpid: " << std::strerror(errno);
            pid_ = -1;
            return exit_status_;
        }
        if (Clock::now() >= deadline) {
            ADD_FAILURE() << "the virtual mouse did not stop within 5 s; killing it";
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    pid_ = -1;
    exit_status_ = decode_status(status);
    return exit_status_;
}

std::vector<uint8_t> VirtualMouseProcess::read_state() const {
    std::ifstream file(state_file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string VirtualMouseProcess::socket_path(int interface_number) const {
    return folder_ + "/" + name_ + ".if" + std::to_string(interface_number) + ".hid";
}

}  // namespace talvoro::test
