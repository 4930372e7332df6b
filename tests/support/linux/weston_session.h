// A Wayland compositor for tests: Debian's weston in an X window of a test's X display (its x11
// backend, drawing without a GPU), at a scale, with its socket in a folder of the test's.
#pragma once

#include <sys/types.h>

#include <string>

namespace talvoro::test {

class WestonSession {
  public:
    // An output of `width` x `height` points at `scale`: an X window of `scale` times that in
    // pixels, at the screen's top-left corner. Waits up to 30 s for the socket.
    WestonSession(const std::string& x_display, const std::string& runtime_folder, int width,
                  int height, int scale);
    ~WestonSession();  // stops the compositor
    WestonSession(const WestonSession&) = delete;
    WestonSession& operator=(const WestonSession&) = delete;

    // Empty when it runs; else what went wrong.
    const std::string& error() const { return error_; }
    // For WAYLAND_DISPLAY, with XDG_RUNTIME_DIR set to the runtime folder.
    const std::string& socket() const { return socket_; }

  private:
    pid_t pid_ = -1;
    std::string socket_ = "talvoro-wayland-0";
    std::string error_;
};

}  // namespace talvoro::test
