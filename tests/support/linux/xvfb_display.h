// A private X display for tests and benchmarks: Xvfb started on the first free display number,
// which it reports on a pipe once it listens, and stopped again with its owner.
#pragma once

#include <sys/types.h>

#include <string>

namespace talvoro::test {

class XvfbDisplay {
  public:
    // Starts Xvfb with a screen of `screen` ("WIDTHxHEIGHTxDEPTH") and waits up to `timeout_ms`
    // for its display number; display() is empty when it could not be started.
    explicit XvfbDisplay(int timeout_ms = 60000, const std::string& screen = "1280x800x24");
    ~XvfbDisplay();  // stops the server
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // ":N", or empty.
    const std::string& display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace talvoro::test
