// The virtual mouse program as a child process of a test: started with its standard output on a
// pipe, asked to unplug, plug in or stop the way the program documents for its system (signals
// on Linux, named events on Windows), and waited for.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace talvoro::test {

enum class MouseRequest { kUnplug, kPlugIn, kStop };

class MouseChild {
  public:
    MouseChild();
    ~MouseChild();  // kills the program if it still runs
    MouseChild(const MouseChild&) = delete;
    MouseChild& operator=(const MouseChild&) = delete;

    // Starts `arguments[0]`; its standard error is the test's.
    bool start(const std::vector<std::string>& arguments, std::string* error);
    // Appends its standard output to `output` until `output` holds `marker`; false when the
    // output ended or `timeout` passed first.
    bool read_until(std::string& output, const std::string& marker,
                    std::chrono::milliseconds timeout);
    bool request(MouseRequest request);
    // Its exit status once it ended (128 + signal number when a signal ended it), or nullopt
    // when it still runs after `timeout`.
    std::optional<int> wait(std::chrono::milliseconds timeout);
    // Ends it at once and waits for it; its exit status.
    int kill();
    bool running() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace talvoro::test
