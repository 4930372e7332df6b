#include "hid/virtual/virtual_link.h"

#include <dirent.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "hid/virtual/virtual_wire.h"

namespace talvoro::hid {

namespace {

namespace wire = virtual_wire;

class SocketLink final : public VirtualLink {
  public:
    explicit SocketLink(int fd) : fd_(fd) {}
    ~SocketLink() override { ::close(fd_); }
    SocketLink(const SocketLink&) = delete;
    SocketLink& operator=(const SocketLink&) = delete;

    long exchange(const uint8_t* request, size_t length, uint8_t* reply, size_t capacity) override {
        if (send(fd_, request, length, MSG_NOSIGNAL) != static_cast<ssize_t>(length))
            return -1;
        ssize_t got;
        do {
            // MSG_TRUNC: a packet longer than `capacity` reports its real length.
            got = recv(fd_, reply, capacity, MSG_TRUNC);
        } while (got < 0 && errno == EINTR);
        return got > 0 && static_cast<size_t>(got) <= capacity ? static_cast<long>(got) : -1;
    }

    EventSource event_source() override { return {EventSource::Kind::kWaitable, fd_}; }

    bool connected() override {
        // A virtual mouse never speaks unasked: readable means it has gone.
        uint8_t byte;
        const ssize_t got = recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        return got > 0 || (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
    }

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<VirtualLink> connect_virtual_link(const std::string& path, std::string& why) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        why = "socket path too long";
        return nullptr;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        why = std::strerror(errno);
        return nullptr;
    }
    timeval timeout{wire::kReplyTimeoutSeconds, 0};
    if (setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0 ||
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<SocketLink>(fd);
}

void list_virtual_links(const std::string& folder, std::vector<std::string>& paths) {
    DIR* stream = opendir(folder.c_str());
    if (stream == nullptr)
        return;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(stream)) {
        const std::string path = folder + "/" + entry->d_name;
        struct stat info {};
        if (wire::is_interface_file_name(entry->d_name) && lstat(path.c_str(), &info) == 0 &&
            S_ISSOCK(info.st_mode)) {
            found.push_back(path);
        }
    }
    closedir(stream);
    std::sort(found.begin(), found.end());
    paths.insert(paths.end(), found.begin(), found.end());
}

}  // namespace talvoro::hid
