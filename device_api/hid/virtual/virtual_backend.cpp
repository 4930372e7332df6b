#include "hid/virtual/virtual_backend.h"

#include <dirent.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "debug_output.h"
#include "hid/virtual/virtual_wire.h"

namespace talvoro::hid {
namespace {

namespace wire = virtual_wire;

// A virtual mouse that stops answering must not hang its caller for ever.
constexpr int kReplyTimeoutSeconds = 5;

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class VirtualHandle final : public HidHandle {
  public:
    explicit VirtualHandle(int fd) : fd_(fd) {}
    ~VirtualHandle() override { ::close(fd_); }
    VirtualHandle(const VirtualHandle&) = delete;
    VirtualHandle& operator=(const VirtualHandle&) = delete;

    bool attributes(HidAttributes& out) override {
        if (!fetch_info())
            return false;
        out = attributes_;
        return true;
    }

    bool report_descriptor(std::vector<uint8_t>& out) override {
        if (!fetch_info())
            return false;
        out = descriptor_;
        return true;
    }

    bool set_feature(const uint8_t* report, size_t length) override {
        if (length == 0 || length + 1 > wire::kMaxPacket)
            return false;
        request_[0] = wire::kSetFeature;
        std::memcpy(request_ + 1, report, length);
        const ssize_t got = exchange(length + 1);
        return got == 1 && reply_[0] == wire::kOk;
    }

    bool get_feature(uint8_t* report, size_t length) override {
        if (length == 0 || length + 1 > wire::kMaxPacket)
            return false;
        request_[0] = wire::kGetFeature;
        wire::put_u16(request_ + 1, static_cast<uint16_t>(length));
        request_[3] = report[0];
        const ssize_t got = exchange(4);
        if (got != static_cast<ssize_t>(length + 1) || reply_[0] != wire::kOk)
            return false;
        std::memcpy(report, reply_ + 1, length);
        return true;
    }

    int event_descriptor() const override { return fd_; }

    bool service_events(std::vector<uint8_t>&) override {
        // A virtual mouse never speaks unasked: readable means it has gone.
        uint8_t byte;
        const ssize_t got = recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        return got > 0 || (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
    }

  private:
    // Sends one request packet and receives its one reply; returns the reply's
    // length, or -1 when the mouse is gone or did not answer.
    ssize_t exchange(size_t request_length) {
        if (send(fd_, request_, request_length, MSG_NOSIGNAL) !=
            static_cast<ssize_t>(request_length)) {
            return -1;
        }
        ssize_t got;
        do {
            got = recv(fd_, reply_, sizeof reply_, 0);
        } while (got < 0 && errno == EINTR);
        return got > 0 ? got : -1;
    }

    bool fetch_info() {
        if (have_info_)
            return true;
        request_[0] = wire::kInfo;
        const ssize_t got = exchange(1);
        if (got < 7 || reply_[0] != wire::kOk)
            return false;
        attributes_.vendor_id = wire::get_u16(reply_ + 1);
        attributes_.product_id = wire::get_u16(reply_ + 3);
        attributes_.version_number = wire::get_u16(reply_ + 5);
        descriptor_.assign(reply_ + 7, reply_ + got);
        have_info_ = true;
        return true;
    }

    int fd_;
    bool have_info_ = false;
    HidAttributes attributes_;
    std::vector<uint8_t> descriptor_;
    uint8_t request_[wire::kMaxPacket] = {};
    uint8_t reply_[wire::kMaxPacket] = {};
};

}  // namespace

void VirtualBackend::list(std::vector<std::string>& paths) {
    const std::string folder = wire::default_folder();
    std::string why;
    if (!wire::folder_is_trusted(folder, &why)) {
        if (why != "no such folder") {
            debug_printf("virtual-HID folder %s ignored: %s\n", folder.c_str(), why.c_str());
        }
        return;
    }
    DIR* stream = opendir(folder.c_str());
    if (stream == nullptr)
        return;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(stream)) {
        const std::string path = folder + "/" + entry->d_name;
        struct stat info {};
        if (ends_with(entry->d_name, wire::kSocketSuffix) && lstat(path.c_str(), &info) == 0 &&
            S_ISSOCK(info.st_mode)) {
            found.push_back(path);
        }
    }
    closedir(stream);
    std::sort(found.begin(), found.end());
    paths.insert(paths.end(), found.begin(), found.end());
}

bool VirtualBackend::claims(const std::string& path) const {
    const std::string folder = wire::default_folder() + "/";
    return path.compare(0, folder.size(), folder) == 0 && ends_with(path, wire::kSocketSuffix);
}

std::unique_ptr<HidHandle> VirtualBackend::open(const std::string& path, std::string& why) {
    // Paths may come from a watcher rather than from list(): check the folder again.
    if (!claims(path) || !wire::folder_is_trusted(wire::default_folder(), &why)) {
        if (why.empty())
            why = "not in the virtual-HID folder";
        return nullptr;
    }
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
    timeval timeout{kReplyTimeoutSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<VirtualHandle>(fd);
}

}  // namespace talvoro::hid
