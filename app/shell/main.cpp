// talvoro_gui: the configuration program of the Talvoro mouse.
#include "platform/allocator_tuning.h"
#include "platform/deferred_desktop_settings.h"
#include "platform/detached_launch.h"
#include "platform/sdl/event_loop.h"
#include "shell/desktop_macro_dialogs.h"
#include "shell/desktop_notices.h"
#include "shell/desktop_profile_dialogs.h"
#include "shell/oskel_mice_app.h"

int main() {
    using namespace talvoro;
    platform::keep_freed_memory_for_reuse();
    shell::DesktopNotices notices;
    shell::DesktopProfileDialogs dialogs(notices);
    shell::DesktopMacroDialogs macro_dialogs;
    DeferredDesktopMouseSettings desktop;

    shell::AppOptions options;
    options.services.notices = &notices;
    options.services.profile_dialogs = &dialogs;
    options.services.macro_dialogs = &macro_dialogs;
    options.services.desktop = &desktop;
    options.services.quit = [] { platform::sdl::quit_event_loop(); };
    options.services.launch = [](const std::vector<std::string>& argv) {
        return platform::launch_detached(argv).started;
    };

    shell::COskelMiceApp app(std::move(options));
    return app.init_instance();
}
