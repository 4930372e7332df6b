// How the program takes the display server's asynchronous errors.
#pragma once

namespace talvoro::platform {

// Once the video driver is up: an event sent to a window that is already gone is dropped
// instead of ending the program. SDL wakes its event loop from other threads by sending an
// event to one of the program's windows, and that window may be destroyed (a popup closing)
// before the server delivers it. Every other error still goes to the handler SDL installed.
// Does nothing where the display has no such errors.
void tolerate_events_to_gone_windows();

}  // namespace talvoro::platform
