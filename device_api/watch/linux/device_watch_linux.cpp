// The watch on Linux: kernel uevents (hidraw nodes coming and going) and inotify on the
// virtual-HID folder (interface sockets of virtual mice), behind one epoll descriptor that an
// owner's poll loop waits on.
#include <dirent.h>
#include <linux/netlink.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <thread>
#include <utility>

#include "hid/virtual/virtual_wire.h"
#include "watch/device_watch.h"
#include "watch/linux/uevent.h"
#include "watch/virtual_identity.h"
#include "watch/virtual_interface_name.h"

namespace talvoro::watch {
namespace wire = hid::virtual_wire;

namespace {

using std::chrono::milliseconds;

// How long a virtual mouse may take to answer the info request of an arrival.
constexpr milliseconds kInfoTimeout{500};
// A socket made in place (not renamed into it) may appear just before it listens.
constexpr int kInfoAttempts = 5;
constexpr milliseconds kInfoRetryDelay{20};

void close_fd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
    }
    fd = -1;
}

class LinuxDeviceWatch final : public DeviceWatch {
  public:
    explicit LinuxDeviceWatch(WatchOptions options) : options_(std::move(options)) {}
    ~LinuxDeviceWatch() override {
        close_fd(uevent_fd_);
        close_fd(inotify_fd_);
        close_fd(epoll_fd_);
    }

    bool open() {
        epoll_fd_ = epoll_create1(EPOLL_CLOEXEC);
        if (epoll_fd_ < 0) {
            return false;
        }
        if (options_.system_interfaces) {
            open_uevents();
        }
        if (options_.virtual_interfaces) {
            open_virtual_folder();
        }
        return uevent_fd_ >= 0 || inotify_fd_ >= 0;
    }

    hid::EventSource event_source() const override {
        return {hid::EventSource::Kind::kWaitable, epoll_fd_};
    }

    std::vector<DeviceChange> read_changes() override {
        // Both sources are drained whichever woke the owner: the epoll descriptor stays ready
        // while either has something.
        std::vector<DeviceChange> found;
        if (uevent_fd_ >= 0) {
            read_uevents(found);
        }
        if (inotify_fd_ >= 0) {
            read_inotify(found);
        }
        return found;
    }

  private:
    void log(const std::string& text) const {
        if (options_.log) {
            options_.log(text);
        }
    }

    void add_to_epoll(int fd) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, fd, &event);
    }

    void open_uevents() {
        uevent_fd_ =
            socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
        sockaddr_nl address{};
        address.nl_family = AF_NETLINK;
        address.nl_groups = 1;  // the kernel's own announcements, not udev's
        if (uevent_fd_ >= 0 &&
            bind(uevent_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            log(std::string("no kernel uevents: ") + std::strerror(errno));
            close_fd(uevent_fd_);
        }
        if (uevent_fd_ >= 0) {
            add_to_epoll(uevent_fd_);
        }
    }

    void open_virtual_folder() {
        folder_ = wire::default_folder();
        // A mouse may be started after us: make the folder ours now, private as the mice want it.
        ::mkdir(folder_.c_str(), 0700);
        std::string why;
        if (!wire::folder_is_trusted(folder_, &why)) {
            log("virtual-HID folder " + folder_ + " not watched: " + why);
            return;
        }
        inotify_fd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        const uint32_t mask = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF |
                              IN_MOVE_SELF | IN_ONLYDIR;
        if (inotify_fd_ >= 0 && inotify_add_watch(inotify_fd_, folder_.c_str(), mask) < 0) {
            close_fd(inotify_fd_);
        }
        if (inotify_fd_ >= 0) {
            add_to_epoll(inotify_fd_);
            rescan(nullptr);
        }
    }

    void read_uevents(std::vector<DeviceChange>& found) {
        uint8_t buffer[8192];
        for (;;) {
            sockaddr_nl sender{};
            iovec part{buffer, sizeof buffer};
            msghdr message{};
            message.msg_name = &sender;
            message.msg_namelen = sizeof sender;
            message.msg_iov = &part;
            message.msg_iovlen = 1;
            const ssize_t got = recvmsg(uevent_fd_, &message, 0);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return;
            }
            // Only the kernel speaks for the kernel; a truncated datagram is not read.
            if (sender.nl_pid != 0 || (message.msg_flags & MSG_TRUNC) != 0) {
                continue;
            }
            const auto event = parse_uevent(std::span(buffer, static_cast<size_t>(got)));
            if (!event) {
                continue;
            }
            if (auto change = hidraw_change(*event, options_.system_node_folder)) {
                found.push_back(std::move(*change));
            }
        }
    }

    void read_inotify(std::vector<DeviceChange>& found) {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(inotify_fd_, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return;
            }
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (at > got) {
                    break;
                }
                if ((event->mask & IN_Q_OVERFLOW) != 0) {
                    rescan(&found);
                    continue;
                }
                if ((event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0) {
                    folder_gone(found);
                    return;
                }
                if (event->len == 0) {
                    continue;
                }
                const std::string name(event->name, strnlen(event->name, event->len));
                if ((event->mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
                    arrived(name, &found);
                } else if ((event->mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
                    removed(name, found);
                }
            }
        }
    }

    // Learns the ids of the socket `name` and remembers them, so that its removal can be
    // announced with them too; with `found`, the arrival is announced.
    void arrived(const std::string& name, std::vector<DeviceChange>* found) {
        if (!parse_virtual_interface_name(name)) {
            return;
        }
        const std::string path = folder_ + "/" + name;
        std::optional<VirtualIdentity> identity;
        for (int attempt = 0; attempt < kInfoAttempts && !identity; ++attempt) {
            if (attempt > 0) {
                std::this_thread::sleep_for(kInfoRetryDelay);
            }
            identity = query_virtual_identity(path, kInfoTimeout);
            struct stat info {};
            if (!identity && (::lstat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode))) {
                break;  // gone again, or a file that is no socket: not a mouse
            }
        }
        if (!identity) {
            log("no answer from " + path);
            return;
        }
        const DeviceChange change{ChangeKind::kArrived, InterfaceOrigin::kVirtual, identity->vendor,
                                  identity->product, path};
        known_[name] = change;
        if (found != nullptr) {
            found->push_back(change);
        }
    }

    void removed(const std::string& name, std::vector<DeviceChange>& found) {
        const auto it = known_.find(name);
        if (it == known_.end()) {
            return;
        }
        DeviceChange change = std::move(it->second);
        change.kind = ChangeKind::kRemoved;
        found.push_back(std::move(change));
        known_.erase(it);
    }

    // Brings what we know in line with the folder: at the start silently (`found` null), after
    // lost events with the arrivals and removals missed.
    void rescan(std::vector<DeviceChange>* found) {
        std::vector<std::string> present;
        if (DIR* stream = opendir(folder_.c_str())) {
            while (const dirent* entry = readdir(stream)) {
                if (parse_virtual_interface_name(entry->d_name)) {
                    present.emplace_back(entry->d_name);
                }
            }
            closedir(stream);
        }
        if (found != nullptr) {
            std::vector<std::string> gone;
            for (const auto& [name, change] : known_) {
                if (std::find(present.begin(), present.end(), name) == present.end()) {
                    gone.push_back(name);
                }
            }
            for (const std::string& name : gone) {
                removed(name, *found);
            }
        }
        for (const std::string& name : present) {
            if (known_.count(name) == 0) {
                arrived(name, found);
            }
        }
    }

    void folder_gone(std::vector<DeviceChange>& found) {
        for (auto& [name, change] : known_) {
            change.kind = ChangeKind::kRemoved;
            found.push_back(std::move(change));
        }
        known_.clear();
        log("virtual-HID folder " + folder_ + " went away");
        epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, inotify_fd_, nullptr);
        close_fd(inotify_fd_);
    }

    WatchOptions options_;
    int epoll_fd_ = -1;
    int uevent_fd_ = -1;
    int inotify_fd_ = -1;
    std::string folder_;
    std::map<std::string, DeviceChange> known_;  // socket file name → its arrival
};

}  // namespace

std::unique_ptr<DeviceWatch> DeviceWatch::open(const WatchOptions& options) {
    auto watch = std::make_unique<LinuxDeviceWatch>(options);
    if (!watch->open()) {
        return nullptr;
    }
    return watch;
}

}  // namespace talvoro::watch
