#include "platform/file_dialog.h"

#include <SDL2/SDL.h>

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
#include "platform/portal_file_chooser.h"
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

}  // namespace

std::optional<std::string> run_file_dialog(const FileDialogRequest& request,
                                           ui::CWindowWnd* owner) {
    if (!desktop_display_available(owner)) {
        return std::nullopt;
    }
    const bool save = request.mode == FileDialogRequest::Mode::kSave;
    const auto finished = [&](std::string path) {
        return save ? ui::with_default_extension(std::move(path), request.default_extension) : path;
    };
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
            return finished(answer.path);
        }
        if (answer.outcome == PortalAnswer::Outcome::kCancelled) {
            return std::nullopt;
        }
    }
#endif
    if (only.empty() || only == "zenity" || only == "kdialog") {
        const auto program =
            find_chooser_program(environment("PATH"), environment("XDG_CURRENT_DESKTOP"), only);
        if (program) {
            ChildResult result;
            run_while_repainting(
                [&] { result = run_child(chooser_command(*program, request, parent)); });
            raise(owner);
            // 0 chosen, 1 cancelled; anything else is a chooser that did not work.
            if (result.started && (result.exit_status == 0 || result.exit_status == 1)) {
                const auto path = chooser_answer(result);
                return path ? std::optional<std::string>(finished(*path)) : std::nullopt;
            }
            ui::debug_log("file dialog: " + program->path + " failed with status " +
                          std::to_string(result.exit_status));
        }
    }
    return run_toolkit_chooser(request, owner);
}

}  // namespace talvoro::platform
