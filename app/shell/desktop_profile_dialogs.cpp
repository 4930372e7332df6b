#include "shell/desktop_profile_dialogs.h"

#include "shell/desktop_file_choice.h"
#include "shell/main_window_lookup.h"

namespace talvoro::shell {
namespace {

ProgramFileKind profile_files() {
    return {"QX profile (*.qxp)", "*.qxp", "qxp", profile_folder() + "profile.qxp",
            /*offer_all_files=*/true};
}

}  // namespace

std::optional<std::string> DesktopProfileDialogs::open_profile_path() {
    return choose_program_file(platform::FileDialogRequest::Mode::kOpen, "Load profile",
                               profile_files());
}

// A save may name a new file: only the open dialog insists that the file exists.
std::optional<std::string> DesktopProfileDialogs::save_profile_path() {
    return choose_program_file(platform::FileDialogRequest::Mode::kSave, "Save profile",
                               profile_files());
}

void DesktopProfileDialogs::show_notice(const std::string& text) {
    notices_.show_notice(text, kNoticeCaption);
}

}  // namespace talvoro::shell
