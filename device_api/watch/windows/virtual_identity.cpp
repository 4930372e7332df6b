#include "watch/virtual_identity.h"

#include "hid/virtual/virtual_link.h"
#include "hid/virtual/virtual_wire.h"

namespace talvoro::watch {
namespace wire = hid::virtual_wire;

std::optional<VirtualIdentity> query_virtual_identity(const std::string& path,
                                                      std::chrono::milliseconds) {
    std::string why;
    const std::unique_ptr<hid::VirtualLink> link = hid::connect_virtual_link(path, why);
    if (link == nullptr) {
        return std::nullopt;
    }
    const uint8_t request = wire::kInfo;
    uint8_t reply[wire::kMaxPacket];
    const long got = link->exchange(&request, 1, reply, sizeof reply);
    wire::InfoReply info;
    if (got < 0 || !wire::decode_info_reply(reply, static_cast<size_t>(got), &info)) {
        return std::nullopt;
    }
    return VirtualIdentity{info.vendor_id, info.product_id};
}

}  // namespace talvoro::watch
