#include "support/windows/output_pipe.h"

#include <atomic>

#include "platform/windows/windows_text.h"

namespace talvoro::test {

OutputPipe::~OutputPipe() {
    if (pending_ && CancelIoEx(read_end_, &overlapped_)) {
        DWORD ignored = 0;
        GetOverlappedResult(read_end_, &overlapped_, &ignored, TRUE);
    }
    close_child_end();
    if (read_end_ != INVALID_HANDLE_VALUE)
        CloseHandle(read_end_);
    if (event_ != nullptr)
        CloseHandle(event_);
}

bool OutputPipe::open(std::string* error) {
    // Anonymous pipes cannot be read with overlapped I/O: a uniquely named one can.
    static std::atomic<unsigned> counter{0};
    const std::wstring name = L"\\\\.\\pipe\\talvoro-test-output-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter.fetch_add(1));
    read_end_ = CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, 65536,
        0, nullptr);
    if (read_end_ == INVALID_HANDLE_VALUE) {
        *error = "CreateNamedPipeW: " + windows::error_text(GetLastError());
        return false;
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    child_end_ = CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (child_end_ == INVALID_HANDLE_VALUE) {
        *error = "CreateFileW on the output pipe: " + windows::error_text(GetLastError());
        return false;
    }
    event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (event_ == nullptr) {
        *error = "CreateEventW: " + windows::error_text(GetLastError());
        return false;
    }
    return true;
}

void OutputPipe::close_child_end() {
    if (child_end_ != INVALID_HANDLE_VALUE) {
        CloseHandle(child_end_);
        child_end_ = INVALID_HANDLE_VALUE;
    }
}

HANDLE OutputPipe::arm() {
    if (ended_)
        return nullptr;
    if (pending_)
        return event_;
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_;
    if (!ResetEvent(event_)) {
        ended_ = true;
        return nullptr;
    }
    if (ReadFile(read_end_, buffer_, sizeof buffer_, nullptr, &overlapped_) ||
        GetLastError() == ERROR_IO_PENDING) {
        // Done at once or later: either way the event is (or will be) signalled.
        pending_ = true;
        return event_;
    }
    ended_ = true;  // broken pipe: every writer has gone
    return nullptr;
}

bool OutputPipe::collect(std::string& sink) {
    if (!pending_)
        return !ended_;
    DWORD got = 0;
    const bool done = GetOverlappedResult(read_end_, &overlapped_, &got, FALSE);
    if (!done && GetLastError() == ERROR_IO_INCOMPLETE)
        return true;  // not finished after all
    pending_ = false;
    if (!done) {
        ended_ = true;
        return false;
    }
    sink.append(buffer_, got);
    return true;
}

}  // namespace talvoro::test
