// Keeps the UI dump current: while a writer lives, the dump is rewritten after every frame a
// window shows, once the frame has gone to the display. The program makes one when
// TALVORO_UI_DUMP=FILE is set.
#pragma once

#include <string>

#include "core/window.h"

namespace talvoro::ui {

class UiDumpWriter {
  public:
    explicit UiDumpWriter(std::string path);
    // Puts back the frame observer it replaced.
    ~UiDumpWriter();
    UiDumpWriter(const UiDumpWriter&) = delete;
    UiDumpWriter& operator=(const UiDumpWriter&) = delete;

  private:
    std::string path_;
    FrameObserver replaced_;
};

}  // namespace talvoro::ui
