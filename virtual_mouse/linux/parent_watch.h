// Ending the mouse together with the process that started it, so a test
// harness that dies leaves no virtual mouse plugged in behind it.
#pragma once

namespace talvoro::virtual_mouse::posix {

// Asks for SIGTERM when the parent process ends. False when the parent has
// already gone (the caller should then stop at once) or the request failed.
bool terminate_with_parent();

}  // namespace talvoro::virtual_mouse::posix
