#include "hid/virtual/virtual_backend.h"

#include <cstring>

#include "debug_output.h"
#include "hid/virtual/virtual_link.h"
#include "hid/virtual/virtual_wire.h"

namespace talvoro::hid {
namespace {

namespace wire = virtual_wire;

// An interface of a virtual mouse: each call is one request and its reply over the link.
class VirtualHandle final : public HidHandle {
  public:
    explicit VirtualHandle(std::unique_ptr<VirtualLink> link) : link_(std::move(link)) {}

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
        const long got = link_->exchange(request_, length + 1, reply_, sizeof reply_);
        return got == 1 && reply_[0] == wire::kOk;
    }

    bool get_feature(uint8_t* report, size_t length) override {
        if (length == 0 || length + 1 > wire::kMaxPacket)
            return false;
        wire::encode_get_feature(request_, report[0], static_cast<uint16_t>(length));
        const long got =
            link_->exchange(request_, wire::kGetFeatureRequestLength, reply_, sizeof reply_);
        if (got != static_cast<long>(length + 1) || reply_[0] != wire::kOk)
            return false;
        std::memcpy(report, reply_ + 1, length);
        return true;
    }

    EventSource event_source() override { return link_->event_source(); }

    bool service_events(std::vector<uint8_t>&) override { return link_->connected(); }

  private:
    bool fetch_info() {
        if (have_info_)
            return true;
        request_[0] = wire::kInfo;
        const long got = link_->exchange(request_, 1, reply_, sizeof reply_);
        wire::InfoReply info;
        if (got < 0 || !wire::decode_info_reply(reply_, static_cast<size_t>(got), &info))
            return false;
        attributes_.vendor_id = info.vendor_id;
        attributes_.product_id = info.product_id;
        attributes_.version_number = info.version;
        descriptor_.assign(info.descriptor, info.descriptor + info.descriptor_length);
        have_info_ = true;
        return true;
    }

    std::unique_ptr<VirtualLink> link_;
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
    list_virtual_links(folder, paths);
}

bool VirtualBackend::claims(const std::string& path) const {
    const std::string folder = wire::default_folder() + "/";
    return path.compare(0, folder.size(), folder) == 0 && wire::is_interface_file_name(path);
}

std::unique_ptr<HidHandle> VirtualBackend::open(const std::string& path, std::string& why) {
    // Paths may come from a watcher rather than from list(): check the folder again.
    if (!claims(path) || !wire::folder_is_trusted(wire::default_folder(), &why)) {
        if (why.empty())
            why = "not in the virtual-HID folder";
        return nullptr;
    }
    std::unique_ptr<VirtualLink> link = connect_virtual_link(path, why);
    if (!link)
        return nullptr;
    return std::make_unique<VirtualHandle>(std::move(link));
}

HidBackend& virtual_backend() {
    static VirtualBackend backend;
    return backend;
}

}  // namespace talvoro::hid
