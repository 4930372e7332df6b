// The UI dump: every named control of every live window with its window, screen rectangle,
// visibility, text and option state, the entries of the menus on screen and the items of open
// drop-down lists, as one JSON object. Tools that drive the real program (the end-to-end tests)
// read it to find what to click.
#pragma once

#include <string>

namespace talvoro::ui {

// Writes the dump to `path`, replacing the file whole.
bool write_ui_dump(const std::string& path);

}  // namespace talvoro::ui
