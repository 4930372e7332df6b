#include "platform/first_frame_report.h"

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>

#include "platform/windows/windows_text.h"

namespace talvoro::platform {

void report_first_frame() {
    static std::atomic<bool> reported{false};
    if (reported.exchange(true)) {
        return;
    }
    const std::optional<std::string> path = windows::environment_variable("TALVORO_FRAME_FILE");
    if (!path || path->empty()) {
        return;
    }
    // A new file only: an existing one is some other file the variable happens to name.
    const HANDLE file = CreateFileW(windows::to_wide(*path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    static constexpr char kLine[] = "frame\n";
    DWORD written = 0;
    WriteFile(file, kLine, sizeof kLine - 1, &written, nullptr);
    CloseHandle(file);
}

}  // namespace talvoro::platform
