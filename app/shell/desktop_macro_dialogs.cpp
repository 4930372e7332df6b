#include "shell/desktop_macro_dialogs.h"

#include "shell/desktop_file_choice.h"
#include "store/macro_files.h"

namespace talvoro::shell {
namespace {

// The files are .qxm: a save that named no extension gets that one, so an import finds it.
ProgramFileKind macro_files() {
    return {"Macro File (*.qxm)", "*.qxm", "qxm", macro_files_folder()};
}

}  // namespace

std::optional<std::string> DesktopMacroDialogs::open_macro_path() {
    return choose_program_file(platform::FileDialogRequest::Mode::kOpen, "Import macros",
                               macro_files());
}

std::optional<std::string> DesktopMacroDialogs::save_macro_path() {
    return choose_program_file(platform::FileDialogRequest::Mode::kSave, "Export macros",
                               macro_files());
}

}  // namespace talvoro::shell
