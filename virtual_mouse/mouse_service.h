// What a server of the mouse does whatever its transport (Unix sockets, named pipes): the
// interfaces the options ask for, the reply to each request, and what the firmware asks for
// after one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host_session.h"
#include "options.h"
#include "virtual_firmware.h"
#include "wire_responder.h"

namespace talvoro::virtual_mouse {

// <folder>/<name>.if<number>.hid: the socket, or the file that names the pipe, of an interface.
std::string interface_file(const std::string& folder, const std::string& name, int number);

// An interface of the mouse and the file in the folder that names it.
struct ServedInterface {
    InterfaceIdentity identity;
    std::string file;
};

// The interfaces `options` asks for, pointer (0) before configuration (1); `configuration` is
// the report descriptor the configuration interface serves.
std::vector<ServedInterface> served_interfaces(const Options& options,
                                               std::span<const uint8_t> configuration);

// The reply to one request, logged when verbose. A `packet` longer than the wire's largest is
// refused whole.
std::vector<uint8_t> reply_to_request(const Options& options, const InterfaceIdentity& interface,
                                      VirtualFirmware& firmware, HostSession& session,
                                      std::span<const uint8_t> packet);

// After each request: saves a changed state to the state file. True when a fault asks for the
// mouse to be unplugged now.
bool unplug_after_request(const Options& options, VirtualFirmware& firmware);

// One line on standard error when verbose.
void log_verbose(const Options& options, const std::string& line);

}  // namespace talvoro::virtual_mouse
