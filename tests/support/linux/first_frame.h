// Starting the program and waiting for its first frame on the display: the program writes a line
// to the descriptor named by TALVORO_FRAME_FD once it has shown one.
#pragma once

#include <sys/types.h>

#include <string>

namespace talvoro::test {

struct FirstFrame {
    pid_t pid = -1;  // the running program, or -1 when it could not be started
    double ms = -1;  // from the start to the first frame; -1 when none came in time
};

// Starts `program` with no arguments in the current environment and waits up to `timeout_ms`
// for its first frame. The program keeps running: end it with stop_program.
FirstFrame start_until_first_frame(const std::string& program, int timeout_ms = 20000);

// SIGTERM, then waits for it; the exit status, or 128 + signal number.
int stop_program(pid_t pid);

}  // namespace talvoro::test
