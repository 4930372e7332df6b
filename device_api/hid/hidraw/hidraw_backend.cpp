#include "hid/hidraw/hidraw_backend.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "hid/report_descriptor.h"

namespace talvoro::hid {
namespace {

constexpr const char* kNodePrefix = "hidraw";

int ioctl_retrying(int fd, unsigned long request, void* argument) {
    int result;
    do {
        result = ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result;
}

// Number of a node name "hidrawN", or -1 for anything else.
long node_number(const char* name) {
    const size_t prefix = std::strlen(kNodePrefix);
    if (std::strncmp(name, kNodePrefix, prefix) != 0 || name[prefix] == '\0')
        return -1;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(name + prefix, &end, 10);
    if (errno != 0 || *end != '\0' || number < 0)
        return -1;
    return number;
}

class HidrawHandle final : public HidHandle {
  public:
    explicit HidrawHandle(int fd) : fd_(fd) {}
    ~HidrawHandle() override { ::close(fd_); }
    HidrawHandle(const HidrawHandle&) = delete;
    HidrawHandle& operator=(const HidrawHandle&) = delete;

    bool attributes(HidAttributes& out) override {
        hidraw_devinfo info{};
        if (ioctl_retrying(fd_, HIDIOCGRAWINFO, &info) < 0)
            return false;
        out.vendor_id = static_cast<uint16_t>(info.vendor);
        out.product_id = static_cast<uint16_t>(info.product);
        out.version_number = 0;  // hidraw does not report the device release
        return true;
    }

    bool report_descriptor(std::vector<uint8_t>& out) override {
        int size = 0;
        if (ioctl_retrying(fd_, HIDIOCGRDESCSIZE, &size) < 0)
            return false;
        if (size <= 0 || static_cast<size_t>(size) > kMaxDescriptorSize)
            return false;
        hidraw_report_descriptor descriptor{};
        descriptor.size = static_cast<uint32_t>(size);
        if (ioctl_retrying(fd_, HIDIOCGRDESC, &descriptor) < 0)
            return false;
        out.assign(descriptor.value, descriptor.value + descriptor.size);
        return true;
    }

    bool set_feature(const uint8_t* report, size_t length) override {
        if (length == 0 || length > kMaxFeatureLength)
            return false;
        // The kernel takes a non-const buffer for both directions.
        return ioctl_retrying(fd_, HIDIOCSFEATURE(length), const_cast<uint8_t*>(report)) >= 0;
    }

    bool get_feature(uint8_t* report, size_t length) override {
        if (length == 0 || length > kMaxFeatureLength)
            return false;
        return ioctl_retrying(fd_, HIDIOCGFEATURE(length), report) >= 0;
    }

    EventSource event_source() override { return {EventSource::Kind::kWaitable, fd_}; }

    bool service_events(std::vector<uint8_t>& input_report) override {
        // The node is non-blocking: read every queued input report.
        uint8_t scratch[64];
        for (;;) {
            uint8_t* into = input_report.empty() ? scratch : input_report.data();
            const size_t room = input_report.empty() ? sizeof scratch : input_report.size();
            const ssize_t got = ::read(fd_, into, room);
            if (got > 0 || (got < 0 && errno == EINTR))
                continue;
            return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        }
    }

  private:
    // The ioctl size field has 14 bits.
    static constexpr size_t kMaxFeatureLength = (1u << 14) - 1;
    int fd_;
};

}  // namespace

std::string HidrawBackend::folder() {
    const char* dir = std::getenv("TALVORO_HIDRAW_DIR");
    return dir != nullptr && *dir != '\0' ? dir : "/dev";
}

void HidrawBackend::list(std::vector<std::string>& paths) {
    const std::string dir = folder();
    DIR* stream = opendir(dir.c_str());
    if (stream == nullptr)
        return;
    std::vector<std::pair<long, std::string>> nodes;
    while (const dirent* entry = readdir(stream)) {
        const long number = node_number(entry->d_name);
        if (number >= 0)
            nodes.emplace_back(number, dir + "/" + entry->d_name);
    }
    closedir(stream);
    // Numeric order: hidraw2 comes before hidraw10, as the kernel created them.
    std::sort(nodes.begin(), nodes.end());
    for (auto& node : nodes)
        paths.push_back(std::move(node.second));
}

bool HidrawBackend::claims(const std::string& path) const {
    const std::string prefix = folder() + "/" + kNodePrefix;
    return path.compare(0, prefix.size(), prefix) == 0 &&
           node_number(path.c_str() + prefix.size() - std::strlen(kNodePrefix)) >= 0;
}

std::unique_ptr<HidHandle> HidrawBackend::open(const std::string& path, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        why = error == EACCES || error == EPERM
                  ? "permission refused (install the udev rule that grants the desktop user access)"
                  : std::strerror(error);
        return nullptr;
    }
    return std::make_unique<HidrawHandle>(fd);
}

HidBackend& system_backend() {
    static HidrawBackend backend;
    return backend;
}

}  // namespace talvoro::hid
