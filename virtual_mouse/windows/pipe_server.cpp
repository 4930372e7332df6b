#include "windows/pipe_server.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "atomic_file.h"
#include "hid/virtual/virtual_wire.h"
#include "hid/virtual/windows/pipe_announcement.h"
#include "mouse_service.h"
#include "platform/windows/windows_text.h"

namespace talvoro::virtual_mouse::windows {

namespace {

namespace wire = hid::virtual_wire;

// Each pipe's buffers hold a few of the largest packets, so a reply never waits for the host.
constexpr DWORD kPipeBuffer = 4 * wire::kMaxPacket;
// A host that does not take its reply within this loses its connection.
constexpr DWORD kWriteTimeoutMs = 1000;
// One wait takes at most MAXIMUM_WAIT_OBJECTS handles; the control events and the parent take
// some, the pipe instances the rest. More hosts than any test or desktop opens at once.
constexpr size_t kControlHandles = 4;
constexpr size_t kMaxInstances = MAXIMUM_WAIT_OBJECTS - kControlHandles;
// Attempts at a pipe name no other process has taken.
constexpr int kNameAttempts = 8;

TimePoint now() {
    return std::chrono::steady_clock::now();
}

bool exists(const std::string& path) {
    return GetFileAttributesW(talvoro::windows::to_wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

PipeServer::PipeServer(const Options& options, std::span<const uint8_t> configuration,
                       VirtualFirmware& firmware, const ControlEvents& controls, HANDLE parent)
    : options_(options), firmware_(firmware), controls_(controls), parent_(parent) {
    for (ServedInterface& served : served_interfaces(options, configuration))
        interfaces_.push_back({std::move(served), {}});
}

PipeServer::~PipeServer() {
    unplug();
}

bool PipeServer::plug_in(std::string* error) {
    if (plugged_in_)
        return true;
    ++plug_count_;
    for (size_t i = 0; i < interfaces_.size(); ++i) {
        Interface& interface = interfaces_[i];
        // A file left by a mouse that was killed is replaced; a live mouse's, or anything
        // else, is not.
        if (exists(interface.file)) {
            const std::wstring announced = wire::announced_pipe(interface.file);
            if (announced.empty()) {
                *error = interface.file + " exists and is not an interface file";
                unplug();
                return false;
            }
            if (wire::pipe_is_served(announced)) {
                *error = "another virtual mouse is serving " + interface.file;
                unplug();
                return false;
            }
        }
        // The pipe exists before the file that names it: a host that sees the file appear
        // can connect at once. A fresh name per plug-in, so a host never reaches the pipe of
        // an earlier plug-in.
        bool made = false;
        for (int attempt = 0; attempt < kNameAttempts && !made; ++attempt) {
            interface.pipe =
                std::wstring(wire::kPipePrefix) + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(plug_count_) + L"-" + std::to_wstring(GetTickCount64() + attempt) +
                L"-if" + std::to_wstring(interface.identity.number);
            made = add_listener(i, true, error);
        }
        if (!made) {
            interface.pipe.clear();
            unplug();
            return false;
        }
        const std::string pipe_utf8 = talvoro::windows::to_utf8(interface.pipe);
        if (!write_file_atomically(interface.file, pipe_utf8.data(), pipe_utf8.size())) {
            *error = "cannot write " + interface.file + ": " + std::strerror(errno);
            unplug();
            return false;
        }
    }
    plugged_in_ = true;
    firmware_.plug_in(now());
    log_verbose(options_, "plugged in");
    return true;
}

void PipeServer::unplug() {
    // In three steps, so that each side sees a consistent mouse: no host can come in once the
    // listening instances are gone; a host that sees its connection break finds the file
    // already gone (as a Unix socket's file goes before its connections); and the connections
    // break right after the file goes, so a watcher of the folder, told of the removal some
    // time later, finds the pipe broken.
    std::erase_if(instances_, [this](const auto& instance) {
        if (instance->connected)
            return false;
        close_instance(*instance);
        return true;
    });
    for (Interface& interface : interfaces_) {
        if (interface.pipe.empty())
            continue;
        // Only our own announcement: another mouse may have taken the name meanwhile.
        if (wire::announced_pipe(interface.file) == interface.pipe &&
            !DeleteFileW(talvoro::windows::to_wide(interface.file).c_str())) {
            std::fprintf(stderr, "talvoro_virtual_mouse: cannot remove %s: %s\n",
                         interface.file.c_str(),
                         talvoro::windows::error_text(GetLastError()).c_str());
        }
        interface.pipe.clear();
    }
    for (auto& instance : instances_)
        close_instance(*instance);
    instances_.clear();
    if (plugged_in_)
        log_verbose(options_, "unplugged");
    plugged_in_ = false;
}

bool PipeServer::add_listeners(std::string* error) {
    for (size_t i = 0; i < interfaces_.size(); ++i) {
        if (interfaces_[i].pipe.empty())
            continue;
        bool listening = false;
        for (const auto& instance : instances_)
            listening = listening || (instance->interface == i && !instance->connected);
        if (listening)
            continue;
        if (instances_.size() >= kMaxInstances) {
            log_verbose(options_, "too many connections, waiting for one to close");
            return true;
        }
        if (!add_listener(i, false, error))
            return false;
    }
    return true;
}

bool PipeServer::add_listener(size_t interface, bool first, std::string* error) {
    auto instance = std::make_unique<Instance>();
    instance->interface = interface;
    instance->buffer.resize(wire::kMaxPacket + 1);
    // FILE_FLAG_FIRST_PIPE_INSTANCE: the name must be new, not a pipe someone else made first.
    instance->pipe.reset(CreateNamedPipeW(
        interfaces_[interface].pipe.c_str(),
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
        PIPE_UNLIMITED_INSTANCES, kPipeBuffer, kPipeBuffer, 0, nullptr));
    if (!instance->pipe.valid()) {
        *error = "cannot create the pipe " +
                 talvoro::windows::to_utf8(interfaces_[interface].pipe) + ": " +
                 talvoro::windows::error_text(GetLastError());
        return false;
    }
    instance->event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!instance->event.valid()) {
        *error = "CreateEventW: " + talvoro::windows::error_text(GetLastError());
        return false;
    }
    if (!start_connect(*instance)) {
        *error = "cannot listen on " + talvoro::windows::to_utf8(interfaces_[interface].pipe) +
                 ": " + talvoro::windows::error_text(GetLastError());
        close_instance(*instance);
        return false;
    }
    instances_.push_back(std::move(instance));
    return true;
}

bool PipeServer::start_connect(Instance& instance) {
    // A host that came and went before this call leaves the instance to be reset first; one
    // more try is enough unless hosts keep doing so.
    for (int attempt = 0; attempt < 3; ++attempt) {
        instance.overlapped = OVERLAPPED{};
        instance.overlapped.hEvent = instance.event.get();
        if (!ResetEvent(instance.event.get()))
            return false;
        const bool done = ConnectNamedPipe(instance.pipe.get(), &instance.overlapped) != 0;
        const DWORD code = done ? ERROR_PIPE_CONNECTED : GetLastError();
        if (code == ERROR_IO_PENDING) {
            instance.pending = true;
            return true;
        }
        if (code == ERROR_PIPE_CONNECTED) {
            // A host came between the creation and this call: no operation is in flight and the
            // OVERLAPPED says nothing (Wine leaves it pending). The loop takes it as a
            // completed connection once the event is set.
            if (!SetEvent(instance.event.get()))
                return false;
            instance.came_at_once = true;
            instance.pending = true;
            return true;
        }
        if (code != ERROR_NO_DATA || !DisconnectNamedPipe(instance.pipe.get()))
            return false;
    }
    return false;
}

bool PipeServer::start_read(Instance& instance) {
    instance.overlapped = OVERLAPPED{};
    instance.overlapped.hEvent = instance.event.get();
    if (!ResetEvent(instance.event.get()))
        return false;
    // Done at once or later, the event is signalled either way and the loop takes the result.
    if (ReadFile(instance.pipe.get(), instance.buffer.data(),
                 static_cast<DWORD>(instance.buffer.size()), nullptr, &instance.overlapped) ||
        GetLastError() == ERROR_IO_PENDING || GetLastError() == ERROR_MORE_DATA) {
        instance.pending = true;
        return true;
    }
    return false;  // the host has gone
}

bool PipeServer::on_completion(Instance& instance) {
    instance.pending = false;
    if (instance.came_at_once) {
        instance.came_at_once = false;
        instance.connected = true;
        return start_read(instance);
    }
    DWORD moved = 0;
    const bool done =
        GetOverlappedResult(instance.pipe.get(), &instance.overlapped, &moved, FALSE) != 0;
    const DWORD code = done ? ERROR_SUCCESS : GetLastError();
    if (!instance.connected) {
        if (!done && code != ERROR_PIPE_CONNECTED)
            return false;  // the host left before it was served
        instance.connected = true;
        return start_read(instance);
    }
    if (!done && code == ERROR_MORE_DATA) {
        // Longer than any packet: read the rest away, then refuse it whole.
        instance.oversized = true;
        return start_read(instance);
    }
    if (!done)
        return false;  // the host closed its end
    size_t length = moved;
    if (instance.oversized) {
        instance.oversized = false;
        length = wire::kMaxPacket + 1;
    }
    if (!serve(instance, length))
        return false;
    return start_read(instance);
}

bool PipeServer::serve(Instance& instance, size_t length) {
    const std::vector<uint8_t> reply = reply_to_request(
        options_, interfaces_[instance.interface].identity, firmware_, instance.session,
        std::span<const uint8_t>(instance.buffer.data(), length));

    instance.overlapped = OVERLAPPED{};
    instance.overlapped.hEvent = instance.event.get();
    bool started = ResetEvent(instance.event.get()) != 0;
    if (started && !WriteFile(instance.pipe.get(), reply.data(), static_cast<DWORD>(reply.size()),
                              nullptr, &instance.overlapped)) {
        started = GetLastError() == ERROR_IO_PENDING;  // else the host has gone
    }
    bool sent = started;
    if (started) {
        if (WaitForSingleObject(instance.event.get(), kWriteTimeoutMs) != WAIT_OBJECT_0) {
            CancelIoEx(instance.pipe.get(), &instance.overlapped);
            sent = false;
        }
        // Also after a cancel: the write must let go of the reply before it is freed.
        DWORD written = 0;
        if (!GetOverlappedResult(instance.pipe.get(), &instance.overlapped, &written, TRUE) ||
            written != reply.size()) {
            sent = false;
        }
    }
    if (unplug_after_request(options_, firmware_))
        unplug_now_ = true;
    // A host that does not read its replies loses its connection.
    return sent;
}

void PipeServer::close_instance(Instance& instance) {
    if (instance.pending && !instance.came_at_once) {
        // The operation must let go of `overlapped` before it is freed.
        CancelIoEx(instance.pipe.get(), &instance.overlapped);
        DWORD ignored = 0;
        GetOverlappedResult(instance.pipe.get(), &instance.overlapped, &ignored, TRUE);
        instance.pending = false;
    }
    // Closing rather than DisconnectNamedPipe: a host still reads a reply it was sent (the
    // reply to the request a fault unplugged on), then finds the pipe broken.
    instance.pipe.reset();
    instance.event.reset();
}

int PipeServer::run() {
    std::vector<HANDLE> handles;
    std::vector<Instance*> waiting;
    for (;;) {
        std::string error;
        // Without a new listener the hosts connected so far are still served; it is tried
        // again after the next event.
        if (plugged_in_ && !add_listeners(&error))
            std::fprintf(stderr, "talvoro_virtual_mouse: %s\n", error.c_str());
        // Layout: stop, unplug, plug in, the parent if watched, then the pipe instances.
        handles = {controls_.stop(), controls_.unplug(), controls_.plug_in()};
        if (parent_ != nullptr && parent_ != INVALID_HANDLE_VALUE)
            handles.push_back(parent_);
        const size_t first_instance = handles.size();
        waiting.clear();
        for (const auto& instance : instances_) {
            if (instance->pending) {
                handles.push_back(instance->event.get());
                waiting.push_back(instance.get());
            }
        }
        const DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(handles.size()),
                                                  handles.data(), FALSE, INFINITE);
        if (woke == WAIT_FAILED || woke >= WAIT_OBJECT_0 + handles.size()) {
            std::fprintf(stderr, "talvoro_virtual_mouse: wait: %s\n",
                         talvoro::windows::error_text(GetLastError()).c_str());
            unplug();
            return 1;
        }
        const size_t index = woke - WAIT_OBJECT_0;
        if (index == 0 || (index == 3 && first_instance == 4)) {
            unplug();  // asked to stop, or the parent has gone
            return 0;
        }
        if (index == 1) {
            unplug();
            continue;
        }
        if (index == 2) {
            if (!plug_in(&error))
                std::fprintf(stderr, "talvoro_virtual_mouse: cannot plug in: %s\n", error.c_str());
            continue;
        }
        Instance* instance = waiting[index - first_instance];
        if (!on_completion(*instance)) {
            close_instance(*instance);
            std::erase_if(instances_,
                          [instance](const auto& owned) { return owned.get() == instance; });
        }
        if (unplug_now_) {
            unplug_now_ = false;
            unplug();
        }
    }
}

}  // namespace talvoro::virtual_mouse::windows
