// The parts of talvoro_virtual_mouse --help that differ between systems (each system's own,
// under linux/ and windows/).
#pragma once

namespace talvoro::virtual_mouse {

// How the interfaces are served, after the program's one-line summary.
const char* transport_help();
// The --dir option's default and what happens to a missing folder.
const char* folder_help();
// How to unplug, plug in and stop the mouse.
const char* controls_help();

}  // namespace talvoro::virtual_mouse
