#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include "hid/virtual/virtual_wire.h"
#include "render/debug_log.h"

namespace talvoro::platform {
namespace {

// A client that connects and then says nothing must not hold up the listener for long.
constexpr int kClientTimeoutMs = 1000;

// $XDG_RUNTIME_DIR when it is a private folder of ours, else /tmp/talvoro-<uid>, made private.
std::string runtime_folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' &&
        hid::virtual_wire::folder_is_trusted(runtime, nullptr)) {
        return runtime;
    }
    const std::string folder = "/tmp/talvoro-" + std::to_string(geteuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

std::optional<sockaddr_un> socket_address(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return std::nullopt;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

// Sends `message` to whoever listens at `path`; false when nobody does.
bool send_message(const std::string& path, uint32_t message) {
    const auto address = socket_address(path);
    if (!address) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const uint8_t bytes[4] = {static_cast<uint8_t>(message), static_cast<uint8_t>(message >> 8),
                              static_cast<uint8_t>(message >> 16),
                              static_cast<uint8_t>(message >> 24)};
    const timeval limit{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    const bool sent =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0 &&
        ::send(fd, bytes, sizeof bytes, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof bytes);
    ::close(fd);
    return sent;
}

}  // namespace

// Accepts connections on the socket and reads one message from each.
class SingleInstance::Listener {
  public:
    Listener(int listen_fd, int wake_fd, std::function<void(uint32_t)> on_message)
        : listen_fd_(listen_fd), wake_fd_(wake_fd), on_message_(std::move(on_message)) {
        thread_ = std::thread([this] { run(); });
    }
    ~Listener() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
        thread_.join();
        ::close(listen_fd_);
        ::close(wake_fd_);
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

  private:
    void run() {
        for (;;) {
            pollfd fds[] = {{wake_fd_, POLLIN, 0}, {listen_fd_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[0].revents != 0) {
                return;
            }
            if (fds[1].revents != 0) {
                serve_one();
            }
        }
    }

    void serve_one() {
        const int client = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            return;
        }
        // Only this user's own programs may speak to us.
        ucred peer{};
        socklen_t size = sizeof peer;
        if (::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
            peer.uid != geteuid()) {
            ::close(client);
            return;
        }
        uint8_t bytes[4];
        size_t have = 0;
        while (have < sizeof bytes) {
            pollfd entry{client, POLLIN, 0};
            if (::poll(&entry, 1, kClientTimeoutMs) <= 0) {
                break;
            }
            const ssize_t got = ::recv(client, bytes + have, sizeof bytes - have, 0);
            if (got <= 0) {
                break;
            }
            have += static_cast<size_t>(got);
        }
        ::close(client);
        if (have == sizeof bytes && on_message_) {
            on_message_(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                        static_cast<uint32_t>(bytes[2]) << 16 |
                        static_cast<uint32_t>(bytes[3]) << 24);
        }
    }

    int listen_fd_;
    int wake_fd_;
    std::function<void(uint32_t)> on_message_;
    std::thread thread_;
};

SingleInstance::SingleInstance(std::string name, std::string folder) : name_(name) {
    if (folder.empty()) {
        folder = runtime_folder();
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    std::string why;
    folder_ok_ = hid::virtual_wire::folder_is_trusted(folder, &why);
    if (!folder_ok_) {
        ui::debug_log("single instance: folder " + folder + " not usable: " + why);
    }
    lock_path_ = folder + "/" + name + ".lock";
    socket_path_ = folder + "/" + name + ".sock";
}

SingleInstance::~SingleInstance() {
    if (listener_ != nullptr) {
        listener_.reset();
        ::unlink(socket_path_.c_str());
    }
}

SingleInstance::Role SingleInstance::acquire() {
    if (holds_lock_) {
        return Role::kFirst;
    }
    if (!folder_ok_) {
        holds_lock_ = true;
        return Role::kFirst;
    }
    // Never closed: the lock lasts as long as the process.
    const int fd = ::open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        ui::debug_log("single instance: cannot open " + lock_path_ + ": " + std::strerror(errno));
        holds_lock_ = true;
        return Role::kFirst;
    }
    int locked = 0;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
        holds_lock_ = true;
        return Role::kFirst;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) {
        ui::debug_log("single instance: cannot lock " + lock_path_ + ": " + std::strerror(error));
        holds_lock_ = true;
        return Role::kFirst;
    }
    return send_message(socket_path_, kSecondInstanceMessage) ? Role::kSignalledFirst
                                                              : Role::kFirstHasNoWindow;
}

bool SingleInstance::listen(std::function<void(uint32_t)> on_message) {
    if (!holds_lock_ || !folder_ok_ || listener_ != nullptr) {
        return false;
    }
    const auto address = socket_address(socket_path_);
    if (!address) {
        return false;
    }
    // Whatever is there was left by an instance that ended without cleaning up: we hold the
    // lock, so nobody else serves it.
    ::unlink(socket_path_.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::listen(fd, 8) != 0) {
        ui::debug_log("single instance: cannot listen on " + socket_path_ + ": " +
                      std::strerror(errno));
        ::close(fd);
        return false;
    }
    const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        ::close(fd);
        ::unlink(socket_path_.c_str());
        return false;
    }
    listener_ = std::make_unique<Listener>(fd, wake, std::move(on_message));
    return true;
}

}  // namespace talvoro::platform
