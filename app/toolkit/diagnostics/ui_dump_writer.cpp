#include "diagnostics/ui_dump_writer.h"

#include <utility>

#include "diagnostics/ui_dump.h"

namespace talvoro::ui {

UiDumpWriter::UiDumpWriter(std::string path) : path_(std::move(path)) {
    // The dump lists every live window, so which one showed the frame does not matter.
    replaced_ = set_frame_observer([this](CWindowWnd&) { write_ui_dump(path_); });
}

UiDumpWriter::~UiDumpWriter() {
    set_frame_observer(std::move(replaced_));
}

}  // namespace talvoro::ui
