#include "support/linux/desktop_driver.h"

#include <cstdlib>

#include "support/program_run.h"

namespace talvoro::test {

std::string DesktopDriver::run(const std::vector<std::string>& args) const {
    // xdotool takes its display from the environment only.
    setenv("DISPLAY", display_.c_str(), 1);
    const ProgramResult result = run_program("/usr/bin/xdotool", args, 30);
    if (result.exit_status == 0) {
        return {};
    }
    return "xdotool failed (" + std::to_string(result.exit_status) + "): " + result.err;
}

std::string DesktopDriver::click_at(int x, int y) const {
    return run({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.2", "click", "1"});
}

std::string DesktopDriver::move_to(int x, int y) const {
    return run({"mousemove", std::to_string(x), std::to_string(y)});
}

std::string DesktopDriver::keys(const std::vector<std::string>& names) const {
    std::vector<std::string> args = {"key", "--delay", "100"};
    args.insert(args.end(), names.begin(), names.end());
    return run(args);
}

std::string DesktopDriver::type(const std::string& text) const {
    return run({"type", "--delay", "20", text});
}

std::string DesktopDriver::drag(int x, int y, int dx, int dy) const {
    const auto at = [](int v) { return std::to_string(v); };
    return run({"mousemove", at(x),     at(y),       "sleep",     "0.3",          "mousedown",
                "1",         "sleep",   "0.3",       "mousemove", at(x + dx / 2), at(y + dy / 2),
                "sleep",     "0.3",     "mousemove", at(x + dx),  at(y + dy),     "sleep",
                "0.3",       "mouseup", "1"});
}

}  // namespace talvoro::test
