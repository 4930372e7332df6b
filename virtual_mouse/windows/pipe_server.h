// The mouse on the wire, Windows edition: each interface a message-mode named pipe announced by
// a file in the virtual-HID folder, any number of host connections (one pipe instance each),
// all served from one thread with overlapped I/O. The control events and the parent's handle
// are waited on in the same loop.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host_session.h"
#include "mouse_service.h"
#include "options.h"
#include "platform/windows/unique_handle.h"
#include "virtual_firmware.h"
#include "windows/control_events.h"
#include "wire_responder.h"

namespace talvoro::virtual_mouse::windows {

using talvoro::windows::UniqueHandle;

class PipeServer {
  public:
    // `configuration` is the report descriptor the configuration interface serves; `parent`
    // (may be invalid) ends the loop when signalled.
    PipeServer(const Options& options, std::span<const uint8_t> configuration,
               VirtualFirmware& firmware, const ControlEvents& controls, HANDLE parent);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    // Creates the pipes, then the files that announce them. False, with `error` set, when one
    // cannot be made.
    bool plug_in(std::string* error);
    // Serves until told to stop; returns the exit status.
    int run();

  private:
    // Its file is the announcement that names the pipe.
    struct Interface : ServedInterface {
        std::wstring pipe;  // empty while unplugged
    };
    // One pipe instance: first waiting for a host, then serving that one host.
    struct Instance {
        size_t interface = 0;
        UniqueHandle pipe;
        UniqueHandle event;
        OVERLAPPED overlapped{};
        bool connected = false;     // else listening
        bool came_at_once = false;  // a host connected before ConnectNamedPipe was called
        bool pending = false;       // an operation is in flight on `overlapped`
        bool oversized = false;     // the request being read is longer than any packet
        std::vector<uint8_t> buffer;
        HostSession session;
    };

    void unplug();
    // Adds a listening instance for each plugged-in interface that has none, within the limit
    // of handles one wait can take.
    bool add_listeners(std::string* error);
    bool add_listener(size_t interface, bool first, std::string* error);
    bool start_connect(Instance& instance);
    bool start_read(Instance& instance);
    // Handles the completed operation of `instance`; false when it is to be closed.
    bool on_completion(Instance& instance);
    // Answers the request in the buffer; false when the host is to be dropped.
    bool serve(Instance& instance, size_t length);
    void close_instance(Instance& instance);

    const Options& options_;
    VirtualFirmware& firmware_;
    const ControlEvents& controls_;
    HANDLE parent_;
    std::vector<Interface> interfaces_;
    std::vector<std::unique_ptr<Instance>> instances_;
    unsigned plug_count_ = 0;
    bool plugged_in_ = false;
    bool unplug_now_ = false;
};

}  // namespace talvoro::virtual_mouse::windows
