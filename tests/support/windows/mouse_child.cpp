#include "support/mouse_child.h"

#include <windows.h>

#include "platform/windows/windows_text.h"
#include "support/windows/child_process.h"
#include "support/windows/output_pipe.h"

namespace talvoro::test {

namespace {

using Clock = std::chrono::steady_clock;
// Exit code given to a mouse ended by force, as a SIGKILL is reported on Linux.
constexpr UINT kKilled = 137;

// The events the program documents in its --help: Local\talvoro-virtual-mouse-<pid>-<what>.
std::wstring event_name(DWORD pid, MouseRequest request) {
    const wchar_t* what = request == MouseRequest::kUnplug   ? L"unplug"
                          : request == MouseRequest::kPlugIn ? L"plug"
                                                             : L"stop";
    return L"Local\\talvoro-virtual-mouse-" + std::to_wstring(pid) + L"-" + what;
}

}  // namespace

struct MouseChild::State {
    PROCESS_INFORMATION process{};
    OutputPipe output;
};

MouseChild::MouseChild() : state_(std::make_unique<State>()) {}

MouseChild::~MouseChild() {
    if (running())
        kill();
}

bool MouseChild::start(const std::vector<std::string>& arguments, std::string* error) {
    if (!state_->output.open(error))
        return false;
    if (!start_child(arguments, state_->output.child_end(), GetStdHandle(STD_ERROR_HANDLE),
                     &state_->process, error)) {
        state_->process = PROCESS_INFORMATION{};
        return false;
    }
    CloseHandle(state_->process.hThread);
    state_->process.hThread = nullptr;
    state_->output.close_child_end();
    return true;
}

bool MouseChild::read_until(std::string& output, const std::string& marker,
                            std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (output.find(marker) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        HANDLE event = state_->output.arm();
        if (event == nullptr)
            return false;  // it ended without printing the marker
        if (WaitForSingleObject(event, static_cast<DWORD>(left.count())) != WAIT_OBJECT_0)
            continue;
        if (!state_->output.collect(output))
            return false;
    }
    return true;
}

bool MouseChild::request(MouseRequest request) {
    if (!running())
        return false;
    const std::wstring name = event_name(state_->process.dwProcessId, request);
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (event == nullptr)
        return false;
    const bool set = SetEvent(event) != 0;
    CloseHandle(event);
    return set;
}

std::optional<int> MouseChild::wait(std::chrono::milliseconds timeout) {
    if (!running())
        return std::nullopt;
    const DWORD waited =
        WaitForSingleObject(state_->process.hProcess, static_cast<DWORD>(timeout.count()));
    if (waited == WAIT_TIMEOUT)
        return std::nullopt;
    DWORD code = 0;
    const bool have_code =
        waited == WAIT_OBJECT_0 && GetExitCodeProcess(state_->process.hProcess, &code) != 0;
    CloseHandle(state_->process.hProcess);
    state_->process = PROCESS_INFORMATION{};
    return have_code ? static_cast<int>(code) : -1;
}

int MouseChild::kill() {
    if (!running())
        return -1;
    TerminateProcess(state_->process.hProcess, kKilled);
    return wait(std::chrono::milliseconds(INFINITE)).value_or(-1);
}

bool MouseChild::running() const {
    return state_->process.hProcess != nullptr;
}

}  // namespace talvoro::test
