// talvoro_gui: the configuration program of the Talvoro mouse.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/ui_dump_writer.h"
#include "platform/allocator_tuning.h"
#include "platform/deferred_desktop_settings.h"
#include "platform/link_opener.h"
#include "platform/parent_console.h"
#include "platform/sdl/event_loop.h"
#include "shell/desktop_macro_dialogs.h"
#include "shell/desktop_notices.h"
#include "shell/desktop_profile_dialogs.h"
#include "shell/oskel_mice_app.h"
#include "talvoro_version.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

enum class Request { kRun, kHelp, kVersion };

struct CommandLine {
    Request request = Request::kRun;
    std::string error;  // set when the command line is bad
};

// The window is the whole interface: besides --help and --version the program takes nothing.
CommandLine parse_command_line(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (line.request != Request::kRun) {
            line.error = "unexpected argument '" + std::string(arg) + "'";
        } else if (arg == "--help") {
            line.request = Request::kHelp;
        } else if (arg == "--version") {
            line.request = Request::kVersion;
        } else if (arg.starts_with("-")) {
            line.error = "unknown option '" + std::string(arg) + "'";
        } else {
            line.error = "unexpected argument '" + std::string(arg) + "'";
        }
        if (!line.error.empty())
            break;
    }
    return line;
}

constexpr const char* kUsage =
    "Usage: talvoro_gui [--help | --version]\n"
    "The configuration program of the Talvoro mouse: its five profiles, buttons,\n"
    "macros, resolution levels, report rate and lighting, in a window on the desktop.\n"
    "One instance runs per user; starting it again brings the running one forward.\n\n"
    "  --help      show this text\n"
    "  --version   show the program's version\n\n"
    "Exit status: 0 closed, or another instance was brought forward; 1 it could not\n"
    "start (no display, no device library, no memory); 2 usage.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace talvoro;
    const CommandLine line = parse_command_line(argc, argv);
    if (!line.error.empty() || line.request != Request::kRun) {
        platform::use_parent_console();
    }
    if (!line.error.empty()) {
        std::fprintf(stderr, "talvoro_gui: %s (see --help)\n", line.error.c_str());
        return kExitUsage;
    }
    switch (line.request) {
        case Request::kHelp:
            return talvoro::print_reply(kUsage) ? kExitOk : kExitFailure;
        case Request::kVersion:
            return talvoro::print_reply(talvoro::version_line("talvoro_gui")) ? kExitOk
                                                                              : kExitFailure;
        case Request::kRun:
            break;
    }

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
    options.services.open_link = &platform::open_link;

    // For tools that drive the program: what is on screen, rewritten after every frame. It
    // outlives the windows.
    std::optional<ui::UiDumpWriter> ui_dump;
    if (const char* dump = std::getenv("TALVORO_UI_DUMP"); dump != nullptr && *dump != '\0') {
        ui_dump.emplace(dump);
    }
    shell::COskelMiceApp app(std::move(options));
    return app.init_instance();
}
