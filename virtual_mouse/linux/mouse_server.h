// The mouse on the wire: one listening socket per interface, any number of
// host connections, one single-threaded poll loop. Signals arrive through
// the loop too: SIGTERM/SIGINT end it, SIGUSR1 unplugs, SIGUSR2 plugs in.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "linux/interface_socket.h"
#include "linux/signal_events.h"
#include "mouse_service.h"
#include "options.h"
#include "virtual_firmware.h"
#include "wire_responder.h"

namespace talvoro::virtual_mouse::posix {

class MouseServer {
  public:
    // `configuration` is the report descriptor the configuration interface serves.
    MouseServer(const Options& options, std::span<const uint8_t> configuration,
                VirtualFirmware& firmware, SignalEvents& signals);
    ~MouseServer();

    // Creates the sockets. False, with `error` set, when one cannot be made.
    bool plug_in(std::string* error);
    // Serves until told to stop; returns the exit status.
    int run();

  private:
    struct Interface : ServedInterface {
        std::optional<InterfaceSocket> socket;  // empty while unplugged
    };
    struct Client {
        UniqueFd fd;
        size_t interface = 0;
        HostSession session;
    };

    void unplug();
    void handle_signals(bool* stop);
    void accept_clients(size_t interface);
    // Answers one request; false when the connection is to be closed.
    bool serve(Client& client);

    const Options& options_;
    VirtualFirmware& firmware_;
    SignalEvents& signals_;
    std::vector<Interface> interfaces_;
    std::vector<std::unique_ptr<Client>> clients_;
    bool plugged_in_ = false;
    bool unplug_now_ = false;
};

}  // namespace talvoro::virtual_mouse::posix
