#include "serve.h"

#include <windows.h>

#include "complain.h"
#include "mouse_service.h"
#include "platform/windows/windows_text.h"
#include "windows/control_events.h"
#include "windows/parent_watch.h"
#include "windows/pipe_server.h"

namespace talvoro::virtual_mouse {

namespace {

// Room for the temporary name an interface file is written under before it is renamed.
constexpr size_t kTemporarySuffix = 24;

}  // namespace

bool interface_paths_fit(const Options& options, std::string* error) {
    for (int number : {0, 1}) {
        const std::string path = interface_file(options.folder, options.name, number);
        // The files are reached without the \\?\ prefix, so the classic path limit holds.
        if (talvoro::windows::to_wide(path).size() + kTemporarySuffix >= MAX_PATH) {
            *error = "interface file path too long: " + path;
            return false;
        }
    }
    return true;
}

bool ensure_folder(const std::string& folder, std::string* error) {
    // Made with the access list it inherits: under the user's profile, only the user's.
    if (CreateDirectoryW(talvoro::windows::to_wide(folder).c_str(), nullptr) ||
        GetLastError() == ERROR_ALREADY_EXISTS) {
        return true;
    }
    *error = "cannot create " + folder + ": " + talvoro::windows::error_text(GetLastError());
    return false;
}

int serve(const Options& options, std::span<const uint8_t> configuration, VirtualFirmware& firmware,
          const std::function<void()>& ready) {
    std::string error;
    // The events exist before the files appear, so no request is lost once a script has seen
    // "ready".
    auto controls = windows::ControlEvents::open(&error);
    if (!controls)
        return complain(1, error);
    windows::UniqueHandle parent;
    if (options.exit_with_parent) {
        parent = windows::watch_parent(&error);
        if (!parent.valid())
            return complain(1, error);
    }
    int status = 1;
    {
        windows::PipeServer server(options, configuration, firmware, *controls, parent.get());
        if (!server.plug_in(&error))
            return complain(1, error);
        ready();
        status = server.run();
    }
    controls->finished();
    return status;
}

}  // namespace talvoro::virtual_mouse
