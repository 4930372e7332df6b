#include "platform/file_dialog.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdio>
#include <cstdlib>

#include "dialogs/file_chooser_wnd.h"
#include "platform/child_process.h"
#include "platform/desktop_display.h"
#include "platform/file_chooser_command.h"
#include "platform/repainting_wait.h"
#include "platform/sdl/event_loop.h"
#include "platform/sdl/sdl_window_backend.h"
#include "render/debug_log.h"
#ifdef TALVORO_HAVE_GIO
#include "platform/linux/portal_file_chooser.h"
#endif

namespace talvoro::platform {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The owner comes back to the front once another program's chooser is gone.
void raise(ui::CWindowWnd* owner) {
    const auto* backend =
        owner != nullptr ? dynamic_cast<const sdl::SdlWindowBackend*>(owner->backend()) : nullptr;
    if (backend != nullptr && backend->sdl_window() != nullptr) {
        SDL_RaiseWindow(backend->sdl_window());
    }
}

// The X11 window id of a window shown through SDL on X11; 0 for anything else. Other programs'
// choosers attach to it to stay above the program.
unsigned long x11_window_id(const ui::CWindowWnd* window) {
    const auto* backend =
        window != nullptr ? dynamic_cast<const sdl::SdlWindowBackend*>(window->backend()) : nullptr;
    if (backend == nullptr || backend->sdl_window() == nullptr) {
        return 0;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(backend->sdl_window(), &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return 0;
    }
    return static_cast<unsigned long>(info.info.x11.window);
}

std::optional<std::string> run_toolkit_chooser(const FileDialogRequest& request,
                                               ui::CWindowWnd* owner) {
    ui::CFileChooserWnd chooser(request);
    if (!chooser.open(owner)) {
        return std::nullopt;
    }
    chooser.show();
    sdl::run_modal_loop(chooser);
    return chooser.result();
}

// zenity's major version, asked once per program: it decides how to ask for the overwrite
// question.
int zenity_version(const std::string& program) {
    static std::string asked;
    static int version = 0;
    if (asked != program) {
        const ChildResult result = run_child({program, "--version"});
        version =
            result.started && result.exit_status == 0 ? zenity_major_version(result.output) : 0;
        asked = program;
    }
    return version;
}

// What the desktop's own chooser answered: the path, or nothing for a cancel. No answer at all
// when there is no desktop chooser that works, so the toolkit's is shown instead.
using DesktopAnswer = std::optional<std::optional<std::string>>;

DesktopAnswer run_desktop_chooser(const FileDialogRequest& request, ui::CWindowWnd* owner) {
    const std::string only = environment("TALVORO_FILE_DIALOG");
    const unsigned long parent = x11_window_id(owner);
#ifdef TALVORO_HAVE_GIO
    if (only.empty() || only == "portal") {
        char handle[40] = "";
        if (parent != 0) {
            std::snprintf(handle, sizeof handle, "x11:%lx", parent);
        }
        PortalAnswer answer;
        run_while_repainting([&] { answer = run_portal_file_chooser(request, handle); });
        raise(owner);
        if (answer.outcome == PortalAnswer::Outcome::kChosen) {
            return std::optional<std::string>(answer.path);
        }
        if (answer.outcome == PortalAnswer::Outcome::kCancelled) {
            return std::optional<std::string>();
        }
    }
#endif
    if (only.empty() || only == "zenity" || only == "kdialog") {
        auto program =
            find_chooser_program(environment("PATH"), environment("XDG_CURRENT_DESKTOP"), only);
        if (program) {
            if (program->tool == ChooserTool::kZenity) {
                program->major_version = zenity_version(program->path);
            }
            ChildResult result;
            run_while_repainting(
                [&] { result = run_child(chooser_command(*program, request, parent)); });
            raise(owner);
            // 0 chosen, 1 cancelled; anything else is a chooser that did not work.
            if (result.started && (result.exit_status == 0 || result.exit_status == 1)) {
                return chooser_answer(result);
            }
            ui::debug_log("file dialog: " + program->path + " failed with status " +
                          std::to_string(result.exit_status));
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> run_file_dialog(const FileDialogRequest& request,
                                           ui::CWindowWnd* owner) {
    if (!desktop_display_available(owner)) {
        return std::nullopt;
    }
    FileDialogRequest asked = request;
    while (true) {
        const DesktopAnswer answer = run_desktop_chooser(asked, owner);
        if (!answer) {
            // The toolkit's chooser adds the extension before it asks about replacing.
            return run_toolkit_chooser(asked, owner);
        }
        if (!*answer || request.mode != FileDialogRequest::Mode::kSave) {
            return *answer;
        }
        // The desktop chooser asked about replacing the name as typed. When the extension we
        // add names a file that exists, it is shown again with that name, so that its own
        // question is about the file that would be replaced.
        const ui::SaveChoice choice =
            ui::completed_save_choice(**answer, request.default_extension);
        if (!choice.unasked_replace) {
            return choice.path;
        }
        asked.initial_path = choice.path;
    }
}

}  // namespace talvoro::platform
