#include "linux/mouse_server.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "hid/virtual/virtual_wire.h"
#include "mouse_service.h"

namespace talvoro::virtual_mouse::posix {

namespace {

namespace wire = hid::virtual_wire;

// More hosts than any test or desktop opens at once; keeps descriptors in bounds.
constexpr size_t kMaxClients = 256;

TimePoint now() {
    return std::chrono::steady_clock::now();
}

}  // namespace

MouseServer::MouseServer(const Options& options, std::span<const uint8_t> configuration,
                         VirtualFirmware& firmware, SignalEvents& signals)
    : options_(options), firmware_(firmware), signals_(signals) {
    for (ServedInterface& served : served_interfaces(options, configuration))
        interfaces_.push_back({std::move(served), std::nullopt});
}

MouseServer::~MouseServer() {
    unplug();
}

bool MouseServer::plug_in(std::string* error) {
    if (plugged_in_)
        return true;
    for (Interface& interface : interfaces_) {
        interface.socket = InterfaceSocket::create(interface.file, error);
        if (!interface.socket) {
            unplug();
            return false;
        }
    }
    plugged_in_ = true;
    firmware_.plug_in(now());
    log_verbose(options_, "plugged in");
    return true;
}

void MouseServer::unplug() {
    // Sockets first: a host that sees its connection close finds the mouse
    // already gone from the folder.
    for (Interface& interface : interfaces_)
        interface.socket.reset();
    clients_.clear();
    if (plugged_in_)
        log_verbose(options_, "unplugged");
    plugged_in_ = false;
}

int MouseServer::run() {
    std::vector<pollfd> fds;
    for (;;) {
        // Layout: the signal descriptor, the listeners, then the clients.
        fds.clear();
        fds.push_back({signals_.fd(), POLLIN, 0});
        std::vector<size_t> listener_of;
        for (size_t i = 0; i < interfaces_.size(); ++i) {
            if (!interfaces_[i].socket)
                continue;
            fds.push_back({interfaces_[i].socket->fd(), POLLIN, 0});
            listener_of.push_back(i);
        }
        const size_t first_client = fds.size();
        for (const auto& client : clients_)
            fds.push_back({client->fd.get(), POLLIN, 0});

        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "talvoro_virtual_mouse: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (fds[0].revents != 0) {
            bool stop = false;
            handle_signals(&stop);
            if (stop) {
                unplug();
                return 0;
            }
            continue;  // the sockets may have changed
        }

        std::vector<bool> closing(clients_.size(), false);
        for (size_t i = first_client; i < fds.size() && !unplug_now_; ++i) {
            const short events = fds[i].revents;
            if (events == 0)
                continue;
            Client& client = *clients_[i - first_client];
            if ((events & POLLIN) != 0) {
                closing[i - first_client] = !serve(client);
            } else {
                closing[i - first_client] = true;  // hang-up or error
            }
        }
        if (unplug_now_) {
            unplug_now_ = false;
            unplug();
            continue;
        }
        for (size_t i = closing.size(); i-- > 0;) {
            if (closing[i])
                clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(i));
        }
        for (size_t i = 0; i < listener_of.size(); ++i) {
            if (fds[1 + i].revents != 0)
                accept_clients(listener_of[i]);
        }
    }
}

void MouseServer::handle_signals(bool* stop) {
    while (const std::optional<int> signal = signals_.next()) {
        switch (*signal) {
            case SIGTERM:
            case SIGINT:
                *stop = true;
                break;
            case SIGUSR1:
                unplug();
                break;
            case SIGUSR2: {
                std::string error;
                if (!plug_in(&error)) {
                    std::fprintf(stderr, "talvoro_virtual_mouse: cannot plug in: %s\n",
                                 error.c_str());
                }
                break;
            }
            default:
                break;
        }
    }
}

void MouseServer::accept_clients(size_t interface) {
    for (;;) {
        if (!interfaces_[interface].socket)
            return;
        UniqueFd fd = interfaces_[interface].socket->accept();
        if (!fd.valid())
            return;
        if (clients_.size() >= kMaxClients) {
            log_verbose(options_, "too many connections, refusing one");
            continue;  // closed as it goes out of scope
        }
        auto client = std::make_unique<Client>();
        client->fd = std::move(fd);
        client->interface = interface;
        clients_.push_back(std::move(client));
    }
}

bool MouseServer::serve(Client& client) {
    // One byte more than the largest packet: MSG_TRUNC then reports an
    // oversized packet by its real length.
    std::vector<uint8_t> packet(wire::kMaxPacket + 1);
    const ssize_t received =
        ::recv(client.fd.get(), packet.data(), packet.size(), MSG_DONTWAIT | MSG_TRUNC);
    if (received < 0)
        return errno == EAGAIN || errno == EINTR;
    if (received == 0)
        return false;  // the host closed its end
    // Longer than the buffer stays one byte too long, which refuses it.
    packet.resize(std::min(static_cast<size_t>(received), packet.size()));
    const std::vector<uint8_t> reply = reply_to_request(
        options_, interfaces_[client.interface].identity, firmware_, client.session, packet);
    const ssize_t sent =
        ::send(client.fd.get(), reply.data(), reply.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (unplug_after_request(options_, firmware_))
        unplug_now_ = true;
    // A host that does not read its replies loses its connection.
    return sent == static_cast<ssize_t>(reply.size());
}

}  // namespace talvoro::virtual_mouse::posix
