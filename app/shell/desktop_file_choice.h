// The desktop's file chooser for one kind of the program's files (profiles, macros), over the
// main window.
#pragma once

#include <optional>
#include <string>

#include "platform/file_dialog.h"

namespace talvoro::shell {

struct ProgramFileKind {
    const char* filter_name;        // "QX profile (*.qxp)"
    const char* pattern;            // "*.qxp"
    const char* default_extension;  // given to a saved name that has none
    std::string initial_path;
    bool offer_all_files = false;  // a second filter showing every file
};

// The chosen path; nothing when the person cancelled.
std::optional<std::string> choose_program_file(platform::FileDialogRequest::Mode mode,
                                               const char* title, const ProgramFileKind& kind);

}  // namespace talvoro::shell
