// talvoro_probe --watch on Windows: a virtual mouse plugged out and in shows
// as removed and found lines. Ctrl+C reaches a console program as a console
// control event, which a test run without a console cannot send, so the test
// ends the probe itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "support/windows/child_process.h"
#include "support/windows/output_pipe.h"

namespace talvoro::test {
namespace {

// Reads `pipe` until `text` has appeared in `seen` after position `from`, or
// ten seconds pass (Wine starts programs slowly).
bool wait_for_text(OutputPipe& pipe, std::string& seen, const std::string& text, size_t from = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (seen.find(text, from) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const HANDLE ready = pipe.arm();
        if (left.count() <= 0 || ready == nullptr ||
            WaitForSingleObject(ready, static_cast<DWORD>(left.count())) != WAIT_OBJECT_0) {
            return false;
        }
        if (!pipe.collect(seen))
            return seen.find(text, from) != std::string::npos;
    }
    return true;
}

TEST(ProbeWatch, ShowsAMousePluggedOutAndIn) {
    TempFolder folder;
    ScopedEnv hid_dir("TALVORO_HID_DIR", folder.path());
    ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    OutputPipe out;
    std::string error;
    ASSERT_TRUE(out.open(&error)) << error;
    PROCESS_INFORMATION probe{};
    ASSERT_TRUE(start_child({built_program("talvoro_probe"), "--watch"}, out.child_end(),
                            out.child_end(), &probe, &error))
        << error;
    CloseHandle(probe.hThread);
    out.close_child_end();

    std::string seen;
    EXPECT_TRUE(wait_for_text(out, seen, "watching")) << seen;
    {
        VirtualMouseProcess mouse(folder.path());
        EXPECT_TRUE(wait_for_text(out, seen, "found    device 1")) << seen;
        mouse.unplug();
        EXPECT_TRUE(wait_for_text(out, seen, "removed  device 1")) << seen;
        mouse.plug_in();
        EXPECT_TRUE(wait_for_text(out, seen, "found    device 1", seen.find("removed"))) << seen;
    }
    EXPECT_EQ(WaitForSingleObject(probe.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "it watches until stopped";
    TerminateProcess(probe.hProcess, 0);
    WaitForSingleObject(probe.hProcess, INFINITE);
    CloseHandle(probe.hProcess);
}

}  // namespace
}  // namespace talvoro::test
