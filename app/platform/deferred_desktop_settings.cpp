#include "platform/deferred_desktop_settings.h"

#include "platform/desktop_settings_backend.h"

namespace talvoro {

DesktopMouseSettings& DeferredDesktopMouseSettings::backend() const {
    if (backend_ == nullptr) {
        backend_ = make_desktop_mouse_settings();
    }
    return *backend_;
}

}  // namespace talvoro
