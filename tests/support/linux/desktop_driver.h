// A person at an X display, for end-to-end tests: xdotool moves the pointer, clicks and types
// there. Each call returns xdotool's error output, empty when it did what was asked.
#pragma once

#include <string>
#include <vector>

namespace talvoro::test {

class DesktopDriver {
  public:
    explicit DesktopDriver(std::string display) : display_(std::move(display)) {}

    // Moves the pointer there, lets the window see it arrive, and clicks the left button.
    std::string click_at(int x, int y) const;
    std::string move_to(int x, int y) const;
    // Presses the left button at (x, y), moves it by (dx, dy) in two steps a person's pace apart,
    // and lets go: a drag a window's move follows.
    std::string drag(int x, int y, int dx, int dy) const;
    // Presses keys (xdotool's names) on whatever window has the focus.
    std::string keys(const std::vector<std::string>& names) const;
    std::string type(const std::string& text) const;
    // Runs xdotool with these arguments.
    std::string run(const std::vector<std::string>& args) const;

  private:
    std::string display_;
};

}  // namespace talvoro::test
