// What the transport test needs of its system: waiting on a handle's event source, and how
// the system's listing treats the files a killed mouse leaves behind.
#pragma once

#include <chrono>

#include "hid/hid_device.h"

namespace talvoro::test {

// True once `source` is ready (the device spoke or went away) within `timeout`.
bool wait_until_ready(const hid::EventSource& source, std::chrono::milliseconds timeout);

// Whether the virtual backend lists a file whose mouse is dead: Linux lists every socket in
// the folder (opening a dead one fails); Windows lists only files whose pipe is served.
bool lists_files_of_dead_mice();

}  // namespace talvoro::test
