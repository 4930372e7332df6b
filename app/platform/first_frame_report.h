// Tells a benchmark the moment the program's first frame reached the display, once: on Linux
// "frame\n" is written to the descriptor TALVORO_FRAME_FD names, which is then closed; on Windows
// (whose benchmark runs it from Linux under Wine, where no descriptor crosses) the file
// TALVORO_FRAME_FILE names is created holding "frame\n".
#pragma once

namespace talvoro::platform {

void report_first_frame();

}  // namespace talvoro::platform
