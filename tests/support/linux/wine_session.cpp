#include "support/linux/wine_session.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/program_run.h"

namespace talvoro::test {
namespace {

constexpr const char* kWine = "/usr/lib/wine/wine64";
constexpr const char* kWineServer = "/usr/lib/wine/wineserver";

}  // namespace

WineSession::WineSession(std::string windows_bin, const std::string& display, std::string prefix)
    : windows_bin_(std::move(windows_bin)), prefix_(std::move(prefix)) {
    setenv("WINEPREFIX", prefix_.c_str(), 1);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    // No Mono or Gecko installer prompts: nothing here needs .NET or a browser engine.
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
}

WineSession::~WineSession() {
    run_program(kWineServer, {"-k"}, 30);
}

std::string WineSession::boot() {
    if (!std::filesystem::is_regular_file(kWine)) {
        return std::string(kWine) + " is missing (scripts/test installs Wine)";
    }
    if (!std::filesystem::is_directory(windows_bin_)) {
        return windows_bin_ + " is no folder: build the Windows programs first";
    }
    // The first program makes the prefix; the server it leaves stays for the session.
    const ProgramResult booted = run_program(kWine, {"cmd", "/c", "exit"}, 120);
    if (booted.exit_status != 0) {
        return "wine could not make its prefix: " + booted.err;
    }
    run_program(kWineServer, {"-p", "600"}, 10);
    return {};
}

std::string WineSession::windows_path(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows;
}

std::vector<std::string> WineSession::command(const std::string& name,
                                              const std::vector<std::string>& args) const {
    std::vector<std::string> line = {kWine, windows_path(windows_bin_ + "/" + name + ".exe")};
    line.insert(line.end(), args.begin(), args.end());
    return line;
}

std::vector<std::string> WineSession::system_command(const std::string& name) {
    return {kWine, name};
}

pid_t WineSession::start(const std::vector<std::string>& line) {
    std::vector<char*> argv;
    for (const std::string& part : line) {
        argv.push_back(const_cast<char*>(part.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int WineSession::wait(pid_t pid, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    do {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return -1;
}

void WineSession::kill(pid_t pid) {
    if (pid > 0) {
        ::kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
    }
}

}  // namespace talvoro::test
