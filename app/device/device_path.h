// Recognising the mouse in a device-interface name of the Windows form
// \\?\HID#VID_1209&PID_0001&MI_01#<instance>#{<class guid>}, as the device
// watcher delivers arrivals and removals.
#pragma once

#include <string_view>

namespace talvoro {

// True when the name is a HID interface of the mouse (any of its
// collections). The comparison ignores case.
bool names_the_mouse(std::string_view interface_name);

}  // namespace talvoro
