#include "linux/interface_socket.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace talvoro::virtual_mouse::posix {

namespace {

constexpr int kBacklog = 16;

bool make_address(const std::string& path, sockaddr_un* address) {
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    if (!fits_socket_address(path))
        return false;
    std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Suffix of the name a socket is made under before it is renamed into place;
// hosts look only for names ending in the interface suffix.
constexpr const char* kStagingSuffix = ".new";

bool fail(std::string* error, const std::string& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

// Clears the way for a new socket at `path`: nothing there, or a socket no
// one listens on any more.
bool clear_stale(const std::string& path, const sockaddr_un& address, std::string* error) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return true;
        return fail(error, "cannot inspect " + path + ": " + std::strerror(errno));
    }
    if (!S_ISSOCK(info.st_mode))
        return fail(error, path + " exists and is not a socket");
    UniqueFd probe(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!probe.valid())
        return fail(error, std::string("socket: ") + std::strerror(errno));
    if (::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return fail(error, "another virtual mouse is serving " + path);
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return fail(error, "cannot remove stale " + path + ": " + std::strerror(errno));
    }
    return true;
}

}  // namespace

bool fits_socket_address(const std::string& path) {
    const size_t staging = std::char_traits<char>::length(kStagingSuffix);
    return !path.empty() && path.size() + staging < sizeof(sockaddr_un{}.sun_path) &&
           path.find('\0') == std::string::npos;
}

std::optional<InterfaceSocket> InterfaceSocket::create(const std::string& path,
                                                       std::string* error) {
    sockaddr_un address{};
    if (!make_address(path, &address)) {
        fail(error, "socket path too long: " + path);
        return std::nullopt;
    }
    if (!clear_stale(path, address, error))
        return std::nullopt;
    // The socket is made under a temporary name and renamed into place once
    // it listens: a host that sees the name appear can connect at once.
    const std::string staging = path + kStagingSuffix;
    sockaddr_un staging_address{};
    if (!make_address(staging, &staging_address)) {
        fail(error, "socket path too long: " + staging);
        return std::nullopt;
    }
    ::unlink(staging.c_str());
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        fail(error, std::string("socket: ") + std::strerror(errno));
        return std::nullopt;
    }
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&staging_address),
               sizeof staging_address) != 0) {
        fail(error, "cannot bind " + staging + ": " + std::strerror(errno));
        return std::nullopt;
    }
    struct stat info {};
    if (::listen(fd.get(), kBacklog) != 0 || lstat(staging.c_str(), &info) != 0 ||
        ::rename(staging.c_str(), path.c_str()) != 0) {
        fail(error, "cannot listen on " + path + ": " + std::strerror(errno));
        ::unlink(staging.c_str());
        return std::nullopt;
    }
    return InterfaceSocket(std::move(fd), path, info.st_dev, info.st_ino);
}

InterfaceSocket::InterfaceSocket(UniqueFd fd, std::string path, dev_t device, ino_t inode)
    : fd_(std::move(fd)), path_(std::move(path)), device_(device), inode_(inode) {}

InterfaceSocket::InterfaceSocket(InterfaceSocket&& other) noexcept
    : fd_(std::move(other.fd_)),
      path_(std::exchange(other.path_, {})),
      device_(other.device_),
      inode_(other.inode_) {}

InterfaceSocket& InterfaceSocket::operator=(InterfaceSocket&& other) noexcept {
    if (this != &other) {
        remove();
        fd_ = std::move(other.fd_);
        path_ = std::exchange(other.path_, {});
        device_ = other.device_;
        inode_ = other.inode_;
    }
    return *this;
}

InterfaceSocket::~InterfaceSocket() {
    remove();
}

UniqueFd InterfaceSocket::accept() {
    return UniqueFd(::accept4(fd_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
}

void InterfaceSocket::remove() {
    if (path_.empty())
        return;
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_) {
        ::unlink(path_.c_str());
    }
    path_.clear();
    fd_.reset();
}

}  // namespace talvoro::virtual_mouse::posix
