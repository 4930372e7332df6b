// Ending the mouse together with the process that started it, so a test harness that dies
// leaves no virtual mouse plugged in behind it. Windows has no parent-death signal: the mouse
// waits on the parent's process handle instead.
#pragma once

#include <string>

#include "platform/windows/unique_handle.h"

namespace talvoro::virtual_mouse::windows {

using talvoro::windows::UniqueHandle;

// A handle that is signalled when the process that started this one ends. Invalid, with
// `error` set, when that process has already gone or cannot be watched.
UniqueHandle watch_parent(std::string* error);

}  // namespace talvoro::virtual_mouse::windows
