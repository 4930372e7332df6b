// Programs of the Windows build, run from a Linux test or benchmark under Wine on an X display:
// a Wine prefix of the session's own, made on first use with Wine's X11 driver (the build's own
// prefix draws nothing), and every program of it ended with the session.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace talvoro::test {

class WineSession {
  public:
    // `windows_bin` holds the Windows programs; their windows go to `display`; the prefix is made
    // in `prefix`. The session's Wine settings go into this process's environment, which every
    // program started here takes, with the caller's own variables.
    WineSession(std::string windows_bin, const std::string& display, std::string prefix);
    ~WineSession();  // ends every program of the prefix
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Makes the prefix and starts its server; empty, or what went wrong.
    std::string boot();
    // The path as Windows programs under Wine name it: Z: is the Linux root.
    static std::string windows_path(const std::string& path);
    // The command line that runs program `name` of the Windows build ("talvoro_gui") with `args`.
    std::vector<std::string> command(const std::string& name,
                                     const std::vector<std::string>& args = {}) const;
    // The command line that runs Wine's own program `name` ("notepad").
    static std::vector<std::string> system_command(const std::string& name);
    // Starts a command line of the two above; -1 when it could not be started.
    static pid_t start(const std::vector<std::string>& line);
    // Its exit status once it ended within `timeout_ms`, else -1 (it keeps running).
    static int wait(pid_t pid, int timeout_ms);
    // Ends it at once and reaps it.
    static void kill(pid_t pid);

    const std::string& windows_bin() const { return windows_bin_; }

  private:
    std::string windows_bin_;
    std::string prefix_;
};

}  // namespace talvoro::test
