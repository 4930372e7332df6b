// The reading end of a child's standard output or error, read with overlapped I/O so a test can
// wait on it, on other pipes and on the child together, with a deadline.
#pragma once

#include <windows.h>

#include <string>

namespace talvoro::test {

class OutputPipe {
  public:
    OutputPipe() = default;
    ~OutputPipe();
    OutputPipe(const OutputPipe&) = delete;
    OutputPipe& operator=(const OutputPipe&) = delete;

    // Makes the pipe; `child_end()` is then the (inheritable) handle to give the child.
    bool open(std::string* error);
    HANDLE child_end() const { return child_end_; }
    // Closes this process's copy of the child's end, once the child has its own.
    void close_child_end();

    bool ended() const { return ended_; }
    // Starts a read unless one is in flight; the event that is signalled when it completes.
    // Null once the pipe has ended.
    HANDLE arm();
    // After arm()'s event was signalled: appends what was read; false once every writer has
    // closed the pipe.
    bool collect(std::string& sink);

  private:
    HANDLE read_end_ = INVALID_HANDLE_VALUE;
    HANDLE child_end_ = INVALID_HANDLE_VALUE;
    HANDLE event_ = nullptr;
    OVERLAPPED overlapped_{};
    char buffer_[4096];
    bool pending_ = false;
    bool ended_ = false;
};

}  // namespace talvoro::test
