// Opening a web address in the person's browser, without waiting for it: the desktop's opener
// on Linux (xdg-open, started detached), the shell's on Windows (ShellExecuteExW).
#pragma once

#include <string>

namespace talvoro::platform {

// False when nothing could be started for the address.
bool open_link(const std::string& address);

}  // namespace talvoro::platform
