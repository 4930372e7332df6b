// The device watcher on Linux: one thread polls the kernel's uevent socket (hidraw nodes coming
// and going) and inotify on the virtual-HID folder (interface sockets of virtual mice).
#include <dirent.h>
#include <linux/netlink.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "hid/virtual/virtual_wire.h"
#include "platform/device_watcher.h"
#include "platform/hid_interface_name.h"
#include "platform/linux/hidraw_uevent.h"
#include "platform/linux/virtual_hid_socket.h"
#include "render/debug_log.h"

namespace talvoro::platform {
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

}  // namespace

class DeviceWatcher::Thread {
  public:
    using Deliver = std::function<void(std::vector<DeviceChange>)>;
    explicit Thread(Deliver deliver) : deliver_(std::move(deliver)) {}
    ~Thread() { stop(); }

    bool start() {
        wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake_fd_ < 0) {
            return false;
        }
        open_uevents();
        open_virtual_folder();
        if (uevent_fd_ < 0 && inotify_fd_ < 0) {
            close_all();
            return false;
        }
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            close_all();
            return false;
        }
        return true;
    }

    void stop() {
        if (thread_.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
            thread_.join();
        }
        close_all();
    }

  private:
    void open_uevents() {
        uevent_fd_ =
            socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
        sockaddr_nl address{};
        address.nl_family = AF_NETLINK;
        address.nl_groups = 1;  // the kernel's own announcements, not udev's
        if (uevent_fd_ >= 0 &&
            bind(uevent_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ui::debug_log(std::string("device watcher: no kernel uevents: ") +
                          std::strerror(errno));
            close_fd(uevent_fd_);
        }
    }

    void open_virtual_folder() {
        folder_ = wire::default_folder();
        // A mouse may be started after us: make the folder ours now, private as the mice want it.
        ::mkdir(folder_.c_str(), 0700);
        std::string why;
        if (!wire::folder_is_trusted(folder_, &why)) {
            ui::debug_log("device watcher: virtual-HID folder " + folder_ + " not watched: " + why);
            return;
        }
        inotify_fd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        const uint32_t mask = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF |
                              IN_MOVE_SELF | IN_ONLYDIR;
        if (inotify_fd_ >= 0 && inotify_add_watch(inotify_fd_, folder_.c_str(), mask) < 0) {
            close_fd(inotify_fd_);
        }
        if (inotify_fd_ >= 0) {
            rescan(false);
        }
    }

    void close_all() {
        close_fd(uevent_fd_);
        close_fd(inotify_fd_);
        close_fd(wake_fd_);
        known_.clear();
    }

    void run() {
        pthread_setname_np(pthread_self(), "talvoro-devices");
        for (;;) {
            pollfd fds[] = {
                {wake_fd_, POLLIN, 0}, {uevent_fd_, POLLIN, 0}, {inotify_fd_, POLLIN, 0}};
            if (::poll(fds, std::size(fds), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[0].revents != 0) {
                return;
            }
            std::vector<DeviceChange> found;
            if (fds[1].revents != 0) {
                read_uevents(found);
            }
            if (fds[2].revents != 0) {
                read_inotify(found);
            }
            if (!found.empty()) {
                deliver_(std::move(found));
            }
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
            if (auto change = hidraw_device_change(*event)) {
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
                    rescan(true, &found);
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
                    arrived(name, true, &found);
                } else if ((event->mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
                    removed(name, found);
                }
            }
        }
    }

    // Learns the ids of the socket `name` and remembers them, so that its removal can be named
    // too; with `announce`, the arrival is delivered.
    void arrived(const std::string& name, bool announce, std::vector<DeviceChange>* found) {
        const auto socket = parse_virtual_socket_name(name);
        if (!socket) {
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
            ui::debug_log("device watcher: no answer from " + path);
            return;
        }
        std::string interface_name = hid_interface_name(identity->vendor, identity->product,
                                                        socket->interface_number, socket->mouse);
        known_[name] = interface_name;
        if (announce && found != nullptr) {
            found->push_back(
                DeviceChange{kDeviceArrival, kDeviceTypeInterface, std::move(interface_name)});
        }
    }

    void removed(const std::string& name, std::vector<DeviceChange>& found) {
        const auto it = known_.find(name);
        if (it == known_.end()) {
            return;
        }
        found.push_back(DeviceChange{kDeviceRemoveComplete, kDeviceTypeInterface, it->second});
        known_.erase(it);
    }

    // Brings what we know in line with the folder: at start silently, after lost events with
    // the arrivals and removals missed.
    void rescan(bool announce, std::vector<DeviceChange>* found = nullptr) {
        std::vector<std::string> present;
        if (DIR* stream = opendir(folder_.c_str())) {
            while (const dirent* entry = readdir(stream)) {
                if (parse_virtual_socket_name(entry->d_name)) {
                    present.emplace_back(entry->d_name);
                }
            }
            closedir(stream);
        }
        if (announce && found != nullptr) {
            std::vector<std::string> gone;
            for (const auto& [name, interface_name] : known_) {
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
                arrived(name, announce, found);
            }
        }
    }

    void folder_gone(std::vector<DeviceChange>& found) {
        for (const auto& [name, interface_name] : known_) {
            found.push_back(
                DeviceChange{kDeviceRemoveComplete, kDeviceTypeInterface, interface_name});
        }
        known_.clear();
        ui::debug_log("device watcher: virtual-HID folder " + folder_ + " went away");
        close_fd(inotify_fd_);
    }

    Deliver deliver_;
    std::thread thread_;
    int wake_fd_ = -1;
    int uevent_fd_ = -1;
    int inotify_fd_ = -1;
    std::string folder_;
    std::map<std::string, std::string> known_;  // socket file name → interface name
};

DeviceWatcher::DeviceWatcher(std::function<void()> notify) : notify_(std::move(notify)) {}

DeviceWatcher::~DeviceWatcher() {
    stop();
}

bool DeviceWatcher::start() {
    if (thread_ != nullptr) {
        return true;
    }
    auto thread = std::make_unique<Thread>([this](std::vector<DeviceChange> found) {
        {
            std::lock_guard lock(mutex_);
            changes_.insert(changes_.end(), std::make_move_iterator(found.begin()),
                            std::make_move_iterator(found.end()));
        }
        if (notify_) {
            notify_();
        }
    });
    if (!thread->start()) {
        return false;
    }
    thread_ = std::move(thread);
    return true;
}

void DeviceWatcher::stop() {
    thread_.reset();
}

std::vector<DeviceChange> DeviceWatcher::take_changes() {
    std::lock_guard lock(mutex_);
    return std::exchange(changes_, {});
}

}  // namespace talvoro::platform
