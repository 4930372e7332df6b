#include "platform/desktop_settings_backend.h"

#include <optional>

#include "platform/file_mouse_settings.h"
#include "platform/windows/system_parameters_mouse_settings.h"
#include "platform/windows/windows_text.h"

namespace talvoro {

bool gsettings_backend_built() {
    return false;
}

std::unique_ptr<DesktopMouseSettings> make_desktop_mouse_settings(const std::string& own_file) {
    // Windows always has its own settings; the file is there for tests that must leave the
    // desktop alone.
    const std::optional<std::string> forced =
        windows::environment_variable("TALVORO_DESKTOP_SETTINGS");
    if (forced && *forced == "file")
        return std::make_unique<FileMouseSettings>(own_file);
    return std::make_unique<SystemParametersMouseSettings>();
}

std::unique_ptr<DesktopMouseSettings> make_desktop_mouse_settings() {
    return make_desktop_mouse_settings(FileMouseSettings::default_path());
}

}  // namespace talvoro
