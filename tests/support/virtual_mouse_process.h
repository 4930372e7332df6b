// Runs build/bin/talvoro_virtual_mouse for a test, in a folder of the test's
// own, and plugs it in and out through its signals.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace talvoro::test {

class VirtualMouseProcess {
  public:
    // Starts the mouse with --dir folder --name name --state folder/<name>.state
    // plus `args`, and returns once it printed "ready". A mouse not ready
    // within 5 s fails the test.
    // `program` is the built mouse unless a test runs another copy (an installed one).
    VirtualMouseProcess(const std::string& folder, std::vector<std::string> args = {},
                        std::string name = "talvoro",
                        std::string program = TALVORO_VIRTUAL_MOUSE_PATH);
    ~VirtualMouseProcess();  // stop() if still running
    VirtualMouseProcess(const VirtualMouseProcess&) = delete;
    VirtualMouseProcess& operator=(const VirtualMouseProcess&) = delete;

    void unplug();   // SIGUSR1; returns once its sockets are gone
    void plug_in();  // SIGUSR2; returns once its sockets are back
    // SIGTERM, then waits; the exit status, or 128 + signal number when a
    // signal ended it.
    int stop();

    const std::string& state_file() const { return state_file_; }
    std::vector<uint8_t> read_state() const;  // the whole state file
    std::string socket_path(int interface_number) const;
    pid_t pid() const { return pid_; }

  private:
    // Waits until each interface socket that existed at start is there
    // (`present`) or gone.
    void wait_for_sockets(bool present, const char* what);

    std::string folder_;
    std::string name_;
    std::string state_file_;
    std::vector<int> interfaces_;  // interface numbers it serves
    pid_t pid_ = -1;
    int stdout_fd_ = -1;
    int exit_status_ = -1;
};

}  // namespace talvoro::test
