#include "shell/desktop_profile_dialogs.h"

#include "platform/file_dialog.h"
#include "shell/main_window_lookup.h"

namespace talvoro::shell {
namespace {

platform::FileDialogRequest profile_request(platform::FileDialogRequest::Mode mode,
                                            const char* title) {
    platform::FileDialogRequest request;
    request.mode = mode;
    request.title = title;
    request.filter_name = "QX profile (*.qxp)";
    request.patterns = {"*.qxp"};
    request.default_extension = "qxp";
    request.initial_path = profile_folder() + "profile.qxp";
    return request;
}

}  // namespace

std::optional<std::string> DesktopProfileDialogs::open_profile_path() {
    return platform::run_file_dialog(
        profile_request(platform::FileDialogRequest::Mode::kOpen, "Load profile"),
        find_main_window());
}

// A save may name a new file: only the open dialog insists that the file exists.
std::optional<std::string> DesktopProfileDialogs::save_profile_path() {
    return platform::run_file_dialog(
        profile_request(platform::FileDialogRequest::Mode::kSave, "Save profile"),
        find_main_window());
}

void DesktopProfileDialogs::show_notice(const std::string& text) {
    notices_.show_notice(text, kNoticeCaption);
}

}  // namespace talvoro::shell
