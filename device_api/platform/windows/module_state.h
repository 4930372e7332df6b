// What the Windows module knows of itself beyond module.h: its instance
// handle, and whether the loader is detaching it.
#pragma once

#include <windows.h>

namespace talvoro::windows {

// The module (DLL, or the program the library's code is linked into) whose
// code this is: the instance that owns the monitor's window class.
HMODULE module_instance();

// True from the library's process detach on. The loader lock is held then: no
// code may wait for another thread, which would need that lock to end.
bool process_detaching();

}  // namespace talvoro::windows
