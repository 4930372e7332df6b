// Where a window program's few lines of text go (--help, --version, a usage error).
#pragma once

namespace talvoro::platform {

// On Windows a window program started from a console has no standard output of its own: it
// borrows that console's, so its text appears where it was typed. Output someone redirected
// (a pipe, a file) is kept. Elsewhere standard output is always the program's.
void use_parent_console();

}  // namespace talvoro::platform
