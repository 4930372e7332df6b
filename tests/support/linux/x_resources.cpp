#include "support/linux/x_resources.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace talvoro::test {

bool set_x_resources(const std::string& display_name, const std::string& resources) {
    Display* display = XOpenDisplay(display_name.c_str());
    if (display == nullptr) {
        return false;
    }
    const Atom property = XInternAtom(display, "RESOURCE_MANAGER", False);
    XChangeProperty(display, DefaultRootWindow(display), property, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

}  // namespace talvoro::test
