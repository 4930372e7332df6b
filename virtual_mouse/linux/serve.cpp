#include "serve.h"

#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "complain.h"
#include "linux/interface_socket.h"
#include "linux/mouse_server.h"
#include "linux/parent_watch.h"
#include "linux/signal_events.h"
#include "mouse_service.h"

namespace talvoro::virtual_mouse {

bool interface_paths_fit(const Options& options, std::string* error) {
    for (int number : {0, 1}) {
        const std::string path = interface_file(options.folder, options.name, number);
        if (!posix::fits_socket_address(path)) {
            *error = "socket path too long: " + path;
            return false;
        }
    }
    return true;
}

bool ensure_folder(const std::string& folder, std::string* error) {
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST)
        return true;
    *error = "cannot create " + folder + ": " + std::strerror(errno);
    return false;
}

int serve(const Options& options, std::span<const uint8_t> configuration, VirtualFirmware& firmware,
          const std::function<void()>& ready) {
    std::string error;
    // Signals are blocked before the sockets appear, so none is lost once a
    // script has seen "ready".
    auto signals = posix::SignalEvents::open({SIGTERM, SIGINT, SIGUSR1, SIGUSR2}, &error);
    if (!signals)
        return complain(1, error);
    // After the signals are blocked, so the SIGTERM it asks for is not lost.
    if (options.exit_with_parent && !posix::terminate_with_parent()) {
        return complain(1, "the process that started the mouse has gone");
    }
    if (::signal(SIGPIPE, SIG_IGN) == SIG_ERR)
        return complain(1, std::string("cannot ignore SIGPIPE: ") + std::strerror(errno));

    posix::MouseServer server(options, configuration, firmware, *signals);
    if (!server.plug_in(&error))
        return complain(1, error);
    ready();
    return server.run();
}

}  // namespace talvoro::virtual_mouse
