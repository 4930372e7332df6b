#include "platform/display_scale_sources.h"

#include <windows.h>

#include "platform/windows/windows_text.h"

namespace talvoro::platform {

// Windows has one scale per monitor, which each window reads for itself once it is on one; the
// system's scale (the primary monitor's) sizes the first window and picks its pictures. A person
// may still choose one.
ScaleSources read_scale_sources() {
    ScaleSources sources;
    sources.override_scale = windows::environment_variable("TALVORO_SCALE").value_or("");
    if (const UINT dpi = GetDpiForSystem(); dpi != 0) {
        sources.system_scale = dpi / static_cast<double>(USER_DEFAULT_SCREEN_DPI);
    }
    return sources;
}

}  // namespace talvoro::platform
