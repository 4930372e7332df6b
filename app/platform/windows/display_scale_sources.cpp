#include "platform/display_scale_sources.h"

#include "platform/windows/windows_text.h"

namespace talvoro::platform {

// Windows has one scale per monitor, which the window reads for itself; a person may still
// choose one.
ScaleSources read_scale_sources() {
    ScaleSources sources;
    sources.override_scale = windows::environment_variable("TALVORO_SCALE").value_or("");
    return sources;
}

}  // namespace talvoro::platform
