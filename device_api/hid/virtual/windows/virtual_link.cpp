#include "hid/virtual/virtual_link.h"

#include <windows.h>

#include <algorithm>
#include <mutex>

#include "hid/virtual/virtual_wire.h"
#include "hid/virtual/windows/pipe_announcement.h"
#include "platform/windows/windows_text.h"

namespace talvoro::hid {

namespace {

namespace wire = virtual_wire;

// How long open() waits for a free instance of a pipe whose instances are all busy.
constexpr DWORD kBusyWaitMs = 2000;

// One overlapped operation on the pipe with its own event.
struct Operation {
    OVERLAPPED overlapped{};
    HANDLE event = nullptr;

    // Prepares for a new operation; false when the event cannot be reset.
    bool reset() {
        overlapped = OVERLAPPED{};
        overlapped.hEvent = event;
        return ResetEvent(event) != 0;
    }
};

// The pipe to one interface. Exchanges and the hang-up watch run on the same handle: the watch
// is a 1-byte read that the mouse, which never speaks unasked, completes only by breaking the
// pipe. It is armed once someone asked for the event source, and cancelled around each exchange
// so that it cannot take the reply.
class PipeLink final : public VirtualLink {
  public:
    PipeLink(HANDLE pipe, HANDLE io_event, HANDLE watch_event) : pipe_(pipe) {
        io_.event = io_event;
        watch_.event = watch_event;
    }
    ~PipeLink() override {
        disarm();
        CloseHandle(pipe_);
        CloseHandle(io_.event);
        CloseHandle(watch_.event);
    }
    PipeLink(const PipeLink&) = delete;
    PipeLink& operator=(const PipeLink&) = delete;

    long exchange(const uint8_t* request, size_t length, uint8_t* reply, size_t capacity) override {
        std::lock_guard<std::mutex> hold(lock_);
        if (broken_)
            return -1;
        disarm();
        long got = -1;
        if (broken_) {
            // The watch found the pipe broken as it was cancelled.
        } else if (transfer(request, nullptr, length) == static_cast<long>(length)) {
            got = transfer(nullptr, reply, capacity);
        }
        arm();
        return got;
    }

    EventSource event_source() override {
        std::lock_guard<std::mutex> hold(lock_);
        watching_ = true;
        arm();
        return {EventSource::Kind::kWaitable, reinterpret_cast<intptr_t>(watch_.event)};
    }

    bool connected() override {
        std::lock_guard<std::mutex> hold(lock_);
        if (broken_)
            return false;
        if (watch_armed_) {
            DWORD got = 0;
            if (GetOverlappedResult(pipe_, &watch_.overlapped, &got, FALSE)) {
                // The mouse spoke unasked: not part of the wire format, but not a hang-up.
                watch_armed_ = false;
                arm();
            } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
                watch_armed_ = false;
                broken_ = true;
                return false;
            }
        }
        // A read error is not the only sign: a peek fails on a pipe the server disconnected.
        DWORD available = 0;
        if (!PeekNamedPipe(pipe_, nullptr, 0, nullptr, &available, nullptr)) {
            const DWORD code = GetLastError();
            if (code == ERROR_BROKEN_PIPE || code == ERROR_PIPE_NOT_CONNECTED ||
                code == ERROR_NO_DATA || code == ERROR_INVALID_HANDLE) {
                broken_ = true;
                return false;
            }
        }
        return true;
    }

  private:
    // One write of `out` or read into `in` of a whole message, waited for up to the reply
    // timeout. The number of bytes moved, or -1 (and the pipe taken for broken when the mouse
    // has gone).
    long transfer(const uint8_t* out, uint8_t* in, size_t length) {
        if (!io_.reset())
            return -1;
        const DWORD size = static_cast<DWORD>(length);
        const BOOL done = out != nullptr ? WriteFile(pipe_, out, size, nullptr, &io_.overlapped)
                                         : ReadFile(pipe_, in, size, nullptr, &io_.overlapped);
        if (!done && GetLastError() != ERROR_IO_PENDING) {
            note_failure(GetLastError());
            return -1;
        }
        if (WaitForSingleObject(io_.event, wire::kReplyTimeoutSeconds * 1000) != WAIT_OBJECT_0) {
            // No answer in time: give up the operation, and the connection with it, since a
            // late reply would be taken for the next request's.
            CancelIoEx(pipe_, &io_.overlapped);
            DWORD ignored = 0;
            GetOverlappedResult(pipe_, &io_.overlapped, &ignored, TRUE);
            broken_ = true;
            return -1;
        }
        DWORD moved = 0;
        if (!GetOverlappedResult(pipe_, &io_.overlapped, &moved, FALSE)) {
            const DWORD code = GetLastError();
            if (code == ERROR_MORE_DATA) {
                // A reply longer than the caller's buffer: drop its rest so the next exchange
                // starts clean, and fail this one.
                drain();
                return -1;
            }
            note_failure(code);
            return -1;
        }
        return static_cast<long>(moved);
    }

    // Reads and drops the rest of a message.
    void drain() {
        uint8_t rest[1024];
        for (;;) {
            if (!io_.reset())
                return;
            if (!ReadFile(pipe_, rest, sizeof rest, nullptr, &io_.overlapped) &&
                GetLastError() != ERROR_IO_PENDING && GetLastError() != ERROR_MORE_DATA) {
                note_failure(GetLastError());
                return;
            }
            DWORD moved = 0;
            if (GetOverlappedResult(pipe_, &io_.overlapped, &moved, TRUE))
                return;
            if (GetLastError() != ERROR_MORE_DATA) {
                note_failure(GetLastError());
                return;
            }
        }
    }

    void note_failure(DWORD code) {
        if (code == ERROR_BROKEN_PIPE || code == ERROR_PIPE_NOT_CONNECTED || code == ERROR_NO_DATA)
            broken_ = true;
    }

    // Starts the hang-up watch, if someone watches and it is not running.
    void arm() {
        if (!watching_ || watch_armed_ || broken_)
            return;
        if (!watch_.reset()) {
            SetEvent(watch_.event);  // let the watcher look, rather than never wake
            return;
        }
        if (ReadFile(pipe_, &watch_byte_, 1, nullptr, &watch_.overlapped) ||
            GetLastError() == ERROR_IO_PENDING || GetLastError() == ERROR_MORE_DATA) {
            watch_armed_ = true;  // pending, or done at once: the event is or will be set
            return;
        }
        note_failure(GetLastError());
        broken_ = true;  // the watch cannot run: take the connection for lost, and say so
        SetEvent(watch_.event);
    }

    // Cancels the hang-up watch and waits until it has let go of the pipe.
    void disarm() {
        if (!watch_armed_)
            return;
        watch_armed_ = false;
        CancelIoEx(pipe_, &watch_.overlapped);
        DWORD got = 0;
        if (!GetOverlappedResult(pipe_, &watch_.overlapped, &got, TRUE)) {
            const DWORD code = GetLastError();
            if (code != ERROR_OPERATION_ABORTED)
                note_failure(code);
        }
        // The cancelled read set the event; a watcher that wakes for it finds the pipe well.
    }

    std::mutex lock_;
    HANDLE pipe_;
    Operation io_;
    Operation watch_;
    uint8_t watch_byte_ = 0;
    bool watching_ = false;
    bool watch_armed_ = false;
    bool broken_ = false;
};

}  // namespace

std::unique_ptr<VirtualLink> connect_virtual_link(const std::string& path, std::string& why) {
    const std::wstring pipe = wire::announced_pipe(path);
    if (pipe.empty()) {
        why = "not an interface file of a virtual mouse";
        return nullptr;
    }
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // Identification only: a pipe server may learn who connects but not act as us.
        handle = CreateFileW(pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                             nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PIPE_BUSY)
            break;
        if (!WaitNamedPipeW(pipe.c_str(), kBusyWaitMs))
            break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        why = code == ERROR_FILE_NOT_FOUND ? "no virtual mouse serves this file any more"
                                           : windows::error_text(code);
        return nullptr;
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    HANDLE io_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE watch_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!SetNamedPipeHandleState(handle, &mode, nullptr, nullptr) || io_event == nullptr ||
        watch_event == nullptr) {
        why = windows::error_text(GetLastError());
        CloseHandle(handle);
        if (io_event != nullptr)
            CloseHandle(io_event);
        if (watch_event != nullptr)
            CloseHandle(watch_event);
        return nullptr;
    }
    return std::make_unique<PipeLink>(handle, io_event, watch_event);
}

void list_virtual_links(const std::string& folder, std::vector<std::string>& paths) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(windows::to_wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> live;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
            0) {
            continue;
        }
        const std::string name = windows::to_utf8(found.cFileName);
        if (!wire::is_interface_file_name(name))
            continue;
        const std::string path = folder + "/" + name;
        const std::wstring pipe = wire::announced_pipe(path);
        if (!pipe.empty() && wire::pipe_is_served(pipe))
            live.push_back(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(live.begin(), live.end());
    paths.insert(paths.end(), live.begin(), live.end());
}

}  // namespace talvoro::hid
