#include "raw_client.h"

#include <windows.h>

#include "hid/virtual/windows/pipe_announcement.h"

namespace talvoro::test {

namespace {

constexpr DWORD kReplyTimeoutMs = 2000;

// Waits for an overlapped operation up to `timeout_ms`; the bytes it moved, or -1 (and the
// operation cancelled) when it failed or did not finish in time.
long finish(HANDLE pipe, OVERLAPPED& overlapped, DWORD timeout_ms) {
    if (WaitForSingleObject(overlapped.hEvent, timeout_ms) != WAIT_OBJECT_0)
        CancelIoEx(pipe, &overlapped);
    DWORD moved = 0;
    if (!GetOverlappedResult(pipe, &overlapped, &moved, TRUE))
        return -1;
    return static_cast<long>(moved);
}

}  // namespace

struct RawClient::State {
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
};

RawClient::RawClient(const std::string& path) : state_(std::make_unique<State>()) {
    // Read as the library reads it: sharing deletion too, since the mouse's rename of a new
    // announcement into place holds the file for delete access for a moment.
    const std::wstring pipe = hid::virtual_wire::announced_pipe(path);
    if (pipe.empty())
        return;
    // Every instance busy: the mouse makes the next one as the last was taken; wait for it, as
    // any pipe client must.
    for (int attempt = 0; attempt < 3; ++attempt) {
        state_->pipe = CreateFileW(pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (state_->pipe != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PIPE_BUSY ||
            !WaitNamedPipeW(pipe.c_str(), kReplyTimeoutMs)) {
            break;
        }
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (state_->pipe != INVALID_HANDLE_VALUE &&
        !SetNamedPipeHandleState(state_->pipe, &mode, nullptr, nullptr)) {
        CloseHandle(state_->pipe);
        state_->pipe = INVALID_HANDLE_VALUE;
    }
    state_->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

RawClient::~RawClient() {
    if (state_->pipe != INVALID_HANDLE_VALUE)
        CloseHandle(state_->pipe);
    if (state_->event != nullptr)
        CloseHandle(state_->event);
}

bool RawClient::connected() const {
    return state_->pipe != INVALID_HANDLE_VALUE && state_->event != nullptr;
}

bool RawClient::send_only(const Bytes& packet) {
    if (!connected())
        return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = state_->event;
    if (!ResetEvent(state_->event))
        return false;
    if (!WriteFile(state_->pipe, packet.data(), static_cast<DWORD>(packet.size()), nullptr,
                   &overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    return finish(state_->pipe, overlapped, kReplyTimeoutMs) == static_cast<long>(packet.size());
}

Bytes RawClient::exchange(const Bytes& packet) {
    if (!send_only(packet))
        return {};
    Bytes reply(8192);
    OVERLAPPED overlapped{};
    overlapped.hEvent = state_->event;
    if (!ResetEvent(state_->event))
        return {};
    if (!ReadFile(state_->pipe, reply.data(), static_cast<DWORD>(reply.size()), nullptr,
                  &overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        return {};
    }
    const long got = finish(state_->pipe, overlapped, kReplyTimeoutMs);
    reply.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return reply;
}

}  // namespace talvoro::test
