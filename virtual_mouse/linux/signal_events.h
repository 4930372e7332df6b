// Signals delivered as readable events on a descriptor (signalfd), so the
// poll loop handles them like any other input and no handler runs.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

#include "linux/unique_fd.h"

namespace talvoro::virtual_mouse::posix {

class SignalEvents {
  public:
    // Blocks `signals` for this (single-threaded) process and opens a
    // non-blocking signalfd for them.
    static std::optional<SignalEvents> open(std::initializer_list<int> signals, std::string* error);

    int fd() const { return fd_.get(); }
    // The next pending signal, or nullopt when none is left.
    std::optional<int> next();

  private:
    explicit SignalEvents(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};

}  // namespace talvoro::virtual_mouse::posix
