#include "platform/desktop_settings_backend.h"

#include <cstdlib>
#include <string_view>

#include "platform/file_mouse_settings.h"
#include "platform/linux/gsettings_mouse_settings.h"

namespace talvoro {

#if TALVORO_HAVE_GSETTINGS
bool gsettings_backend_built() {
    return true;
}
#else
// Built without GIO: there is no GNOME backend to offer.
bool gsettings_backend_built() {
    return false;
}
bool gsettings_mouse_schema_installed(const std::string&) {
    return false;
}
bool gsettings_would_forget() {
    return true;
}
std::unique_ptr<DesktopMouseSettings> open_gsettings_mouse_settings(const std::string&,
                                                                    const std::string&) {
    return nullptr;
}
#endif

std::unique_ptr<DesktopMouseSettings> make_desktop_mouse_settings(const std::string& own_file) {
    const char* forced = std::getenv("TALVORO_DESKTOP_SETTINGS");
    const std::string_view choice = forced != nullptr ? forced : "";
    // Left to itself the program keeps off a GSettings that would drop every
    // value at exit; its own file at least remembers them.
    const bool try_gnome = choice != "file" && gsettings_mouse_schema_installed() &&
                           (choice == "gsettings" || !gsettings_would_forget());
    if (try_gnome) {
        if (auto gnome = open_gsettings_mouse_settings(own_file))
            return gnome;
    }
    return std::make_unique<FileMouseSettings>(own_file);
}

std::unique_ptr<DesktopMouseSettings> make_desktop_mouse_settings() {
    return make_desktop_mouse_settings(FileMouseSettings::default_path());
}

}  // namespace talvoro
