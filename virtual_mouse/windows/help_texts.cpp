#include "help_texts.h"

namespace talvoro::virtual_mouse {

const char* transport_help() {
    return R"(A virtual Talvoro mouse: serves the mouse's two HID interfaces on named pipes,
announced by the files <dir>\<name>.if0.hid (pointer) and <dir>\<name>.if1.hid
(configuration), each holding the name of its pipe.
Prints "ready" on standard output once the files exist.
)";
}

const char* folder_help() {
    return R"(  --dir FOLDER           virtual-HID folder (default %TALVORO_HID_DIR%, else
                         %LOCALAPPDATA%\talvoro-hid, else talvoro-hid in the
                         temporary folder); created if missing, refused when it
                         is a link (junction) rather than a folder
)";
}

const char* controls_help() {
    return R"(Control: the mouse waits on three named events, where PID is its process id:
  Local\talvoro-virtual-mouse-PID-unplug   unplugs
  Local\talvoro-virtual-mouse-PID-plug     plugs in again (also after a fault
                                           unplugged the mouse)
  Local\talvoro-virtual-mouse-PID-stop     removes the files and ends the program
Ctrl+C and Ctrl+Break stop it too.
)";
}

}  // namespace talvoro::virtual_mouse
