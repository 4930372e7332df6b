#include "shell/desktop_file_choice.h"

#include "shell/main_window_lookup.h"

namespace talvoro::shell {

std::optional<std::string> choose_program_file(platform::FileDialogRequest::Mode mode,
                                               const char* title, const ProgramFileKind& kind) {
    platform::FileDialogRequest request;
    request.mode = mode;
    request.title = title;
    request.filter_name = kind.filter_name;
    request.patterns = {kind.pattern};
    request.default_extension = kind.default_extension;
    request.initial_path = kind.initial_path;
    request.offer_all_files = kind.offer_all_files;
    return platform::run_file_dialog(request, find_main_window());
}

}  // namespace talvoro::shell
