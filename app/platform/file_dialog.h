// The program's open and save dialogs: the desktop's own chooser where there is one
// (xdg-desktop-portal, else zenity or kdialog), else the toolkit's chooser.
// TALVORO_FILE_DIALOG=portal|zenity|kdialog|toolkit picks one of them.
#pragma once
#include <optional>
#include <string>

#include "dialogs/file_chooser_request.h"

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform {

// mode, title, filter_name ("QX profile (*.qxp)"), patterns ({"*.qxp"}), default_extension
// ("qxp", appended on save when the name has none), initial_path (folder + suggested name),
// offer_all_files.
using FileDialogRequest = ui::FileChooserRequest;

// The chosen path, or nothing when the user cancelled. A save may name a new file; one that
// exists is chosen only once the user agreed to replace it, in whichever chooser is shown.
// Modal: the owner's windows keep painting but take no input meanwhile. Without a display (or with
// a headless owner) it returns nothing at once.
std::optional<std::string> run_file_dialog(const FileDialogRequest& request, ui::CWindowWnd* owner);

}  // namespace talvoro::platform
