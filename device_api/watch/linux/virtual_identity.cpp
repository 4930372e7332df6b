#include "watch/virtual_identity.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "hid/virtual/virtual_wire.h"

namespace talvoro::watch {
namespace wire = hid::virtual_wire;

namespace {

// Closes on every way out.
class Socket {
  public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::optional<VirtualIdentity> query_virtual_identity(const std::string& path,
                                                      std::chrono::milliseconds timeout) {
    struct stat info {};
    sockaddr_un address{};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) ||
        path.size() >= sizeof address.sun_path) {
        return std::nullopt;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    Socket socket(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (socket.get() < 0) {
        return std::nullopt;
    }
    // Bounds the connect (a full backlog), the send and the wait for the answer alike.
    const auto ms = std::max<long long>(timeout.count(), 1);
    const timeval limit{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>(ms % 1000 * 1000)};
    ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    const uint8_t request = wire::kInfo;
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::send(socket.get(), &request, 1, MSG_NOSIGNAL) != 1) {
        return std::nullopt;
    }
    uint8_t reply[wire::kMaxPacket];
    const ssize_t got = ::recv(socket.get(), reply, sizeof reply, 0);
    if (got < 7 || reply[0] != wire::kOk) {
        return std::nullopt;
    }
    return VirtualIdentity{wire::get_u16(reply + 1), wire::get_u16(reply + 3)};
}

}  // namespace talvoro::watch
