// talvoro_probe --watch: a live client of the library's device monitor.
#pragma once

namespace talvoro {

// Prints each found and removed message with its device number until
// interrupted (SIGINT or SIGTERM). Returns the program's exit status.
int watch_devices();

}  // namespace talvoro
