// A double fork: the middle process starts the program and ends at once, so the caller reaps it
// straight away and the program, orphaned, is reaped by the system and never becomes our
// zombie, however long it runs. Whether the exec worked comes back through a close-on-exec pipe:
// a successful exec closes the pipe's last writer without a byte, a failure writes its errno
// first. The caller blocks only until that moment, not for the program's life.
//
// The caller may have threads, so between fork and exec only async-signal-safe calls are made:
// the path, the argument array and the environment are all prepared before the first fork.
#include "platform/detached_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/argument_vector.h"

extern char** environ;

namespace talvoro::platform {
namespace {

bool executable_file(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The file exec would run for `name`: itself when it holds a '/', else the first executable
// file of that name in PATH; empty when there is none.
std::string resolve(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        // An empty entry is the current folder.
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + name;
        if (executable_file(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

[[noreturn]] void report_and_exit(int fd, int error) {
    // Nothing more can be done here if the write fails: the caller then sees a started program
    // that ended at once.
    [[maybe_unused]] const ssize_t written = ::write(fd, &error, sizeof error);
    ::_exit(127);
}

// The program's side of the fork: its own session, default signal handling and mask, stdin
// from /dev/null, then exec. Only async-signal-safe calls.
[[noreturn]] void exec_program(const char* file, char* const* argv, int report_fd) {
    ::setsid();
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int signal_number : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
        ::signal(signal_number, SIG_DFL);
    }
    const int null_fd = ::open("/dev/null", O_RDONLY);
    if (null_fd >= 0 && null_fd != STDIN_FILENO) {
        ::dup2(null_fd, STDIN_FILENO);
        ::close(null_fd);
    }
    ::execve(file, argv, environ);
    report_and_exit(report_fd, errno);
}

}  // namespace

DetachedLaunch launch_detached(const std::vector<std::string>& argv) {
    DetachedLaunch result;
    if (argv.empty() || argv[0].empty()) {
        result.error = EINVAL;
        return result;
    }
    const std::string file = resolve(argv[0]);
    if (file.empty()) {
        result.error = ENOENT;
        return result;
    }
    const ArgumentVector arguments(argv);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        result.error = errno;
        return result;
    }
    const pid_t middle = ::fork();
    if (middle < 0) {
        result.error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return result;
    }
    if (middle == 0) {
        ::close(report[0]);
        const pid_t program = ::fork();
        if (program < 0) {
            report_and_exit(report[1], errno);
        }
        if (program == 0) {
            exec_program(file.c_str(), arguments.data(), report[1]);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    // The middle process ends right after its fork.
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        result.error = error;
        return result;
    }
    if (got < 0) {
        // The report could not be read: the program may well run, but nothing says so.
        result.error = errno;
        return result;
    }
    result.started = true;
    return result;
}

}  // namespace talvoro::platform
