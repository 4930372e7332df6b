#include "platform/display_scale_sources.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace talvoro::platform {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The X server's resource database, where desktops put Xft.dpi; empty without an X display.
std::string x_resource_database() {
    const std::string display_name = environment("DISPLAY");
    if (display_name.empty()) {
        return {};
    }
    Display* display = XOpenDisplay(display_name.c_str());
    if (display == nullptr) {
        return {};
    }
    const char* database = XResourceManagerString(display);
    std::string copy = database != nullptr ? database : "";
    XCloseDisplay(display);
    return copy;
}

}  // namespace

ScaleSources read_scale_sources() {
    ScaleSources sources;
    sources.override_scale = environment("TALVORO_SCALE");
    sources.xft_dpi = x_resource_value(x_resource_database(), "Xft.dpi");
    sources.gdk_scale = environment("GDK_SCALE");
    sources.qt_scale_factor = environment("QT_SCALE_FACTOR");
    return sources;
}

}  // namespace talvoro::platform
