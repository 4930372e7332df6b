// Tells a benchmark the moment the program's first frame reached the display: when
// TALVORO_FRAME_FD names an open descriptor, "frame\n" is written to it once and it is closed.
#pragma once

namespace talvoro::platform::sdl {

void report_first_frame();

}  // namespace talvoro::platform::sdl
