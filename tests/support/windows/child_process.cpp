#include "support/windows/child_process.h"

#include <mutex>

#include "platform/windows/windows_text.h"
#include "support/windows/command_line.h"

namespace talvoro::test {

namespace {

// Handles are inheritable only for the span of one CreateProcessW, under this lock, so two
// children started from two threads never receive each other's pipes.
std::mutex& start_lock() {
    static std::mutex lock;
    return lock;
}

// An inheritable duplicate of `handle`, or INVALID_HANDLE_VALUE.
HANDLE inheritable_copy(HANDLE handle) {
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        return INVALID_HANDLE_VALUE;
    }
    return copy;
}

void close_if_open(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr)
        CloseHandle(handle);
}

}  // namespace

bool start_child(const std::vector<std::string>& arguments, HANDLE std_out, HANDLE std_err,
                 PROCESS_INFORMATION* started, std::string* error) {
    if (arguments.empty()) {
        *error = "no program to start";
        return false;
    }
    const std::wstring program = windows::to_wide(arguments[0]);
    std::wstring command_line = quote_command_line(arguments);

    std::lock_guard<std::mutex> hold(start_lock());
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inheritable, OPEN_EXISTING, 0, nullptr);
    const HANDLE output = inheritable_copy(std_out);
    const HANDLE errors = inheritable_copy(std_err);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    *started = PROCESS_INFORMATION{};
    const bool made =
        CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup, started) != 0;
    const DWORD code = GetLastError();
    close_if_open(input);
    close_if_open(output);
    close_if_open(errors);
    if (!made) {
        *error = "cannot start " + arguments[0] + ": " + windows::error_text(code);
        return false;
    }
    return true;
}

}  // namespace talvoro::test
