// Runs build/bin/talvoro_virtual_mouse for a test, in a folder of the test's
// own, and plugs it in and out the way it documents (signals on Linux, named
// events on Windows).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace talvoro::test {

class MouseChild;

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

    void unplug();   // returns once its interface files are gone
    void plug_in();  // returns once its interface files are back
    // Asks it to stop, then waits; the exit status, or 128 + signal number
    // when a signal ended it.
    int stop();
    // Ends it at once, as a crash would: its interface files stay behind.
    void kill();

    const std::string& state_file() const { return state_file_; }
    std::vector<uint8_t> read_state() const;  // the whole state file
    // The file that announces an interface: on Linux the socket itself, on
    // Windows the file that names its pipe.
    std::string socket_path(int interface_number) const;

  private:
    // Waits until each interface socket that existed at start is there
    // (`present`) or gone.
    void wait_for_sockets(bool present, const char* what);

    std::string folder_;
    std::string name_;
    std::string state_file_;
    std::vector<int> interfaces_;  // interface numbers it serves
    std::unique_ptr<MouseChild> child_;
    int exit_status_ = -1;
};

}  // namespace talvoro::test
