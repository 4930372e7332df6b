#include "help_texts.h"

namespace talvoro::virtual_mouse {

const char* transport_help() {
    return R"(A virtual Talvoro mouse: serves the mouse's two HID interfaces on Unix sockets
<dir>/<name>.if0.hid (pointer) and <dir>/<name>.if1.hid (configuration).
Prints "ready" on standard output once the sockets exist.
)";
}

const char* folder_help() {
    return R"(  --dir FOLDER           virtual-HID folder (default $TALVORO_HID_DIR, else
                         $XDG_RUNTIME_DIR/talvoro-hid, else /tmp/talvoro-hid-<uid>);
                         created with mode 0700 if missing, refused unless it
                         belongs to this user and no one else may write to it
)";
}

const char* controls_help() {
    return R"(Signals: SIGUSR1 unplugs, SIGUSR2 plugs in again (also after a fault unplugged
the mouse), SIGTERM and SIGINT remove the sockets and end the program.
)";
}

}  // namespace talvoro::virtual_mouse
