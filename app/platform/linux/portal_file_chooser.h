// The desktop's file chooser through xdg-desktop-portal (org.freedesktop.portal.FileChooser on
// the session bus), the way sandboxed and ordinary programs alike get the desktop's own dialog.
#pragma once
#include <string>

#include "platform/file_dialog.h"

namespace talvoro::platform {

struct PortalAnswer {
    enum class Outcome { kChosen, kCancelled, kUnavailable } outcome = Outcome::kUnavailable;
    std::string path;  // for kChosen
};

// Blocks until the user answered; on save the portal's chooser has asked before a file that
// exists is chosen. `parent_window` is the portal's form of the owner ("x11:<hex
// id>"), empty for none. kUnavailable when there is no session bus, no portal or no chooser
// behind it, or the answer is no local file, so another chooser can be tried.
PortalAnswer run_portal_file_chooser(const FileDialogRequest& request,
                                     const std::string& parent_window);

}  // namespace talvoro::platform
