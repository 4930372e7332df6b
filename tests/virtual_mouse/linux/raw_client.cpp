#include "raw_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace talvoro::test {

struct RawClient::State {
    int fd = -1;
    bool connected = false;
};

RawClient::RawClient(const std::string& path) : state_(std::make_unique<State>()) {
    state_->fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    state_->connected =
        state_->fd >= 0 &&
        connect(state_->fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

RawClient::~RawClient() {
    if (state_->fd >= 0)
        close(state_->fd);
}

bool RawClient::connected() const {
    return state_->connected;
}

bool RawClient::send_only(const Bytes& packet) {
    return send(state_->fd, packet.data(), packet.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(packet.size());
}

Bytes RawClient::exchange(const Bytes& packet) {
    if (!send_only(packet))
        return {};
    pollfd waiting{state_->fd, POLLIN, 0};
    if (poll(&waiting, 1, 2000) <= 0)
        return {};
    Bytes reply(8192);
    const ssize_t n = recv(state_->fd, reply.data(), reply.size(), 0);
    reply.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return reply;
}

}  // namespace talvoro::test
