// Virtual mice: interfaces announced in the virtual-HID folder and reached over
// each system's link (virtual_link.h, virtual_wire.h). They are listed after
// kernel devices.
#pragma once

#include "hid/hid_device.h"

namespace talvoro::hid {

class VirtualBackend final : public HidBackend {
  public:
    const char* name() const override { return "virtual"; }
    void list(std::vector<std::string>& paths) override;
    bool claims(const std::string& path) const override;
    std::unique_ptr<HidHandle> open(const std::string& path, std::string& why) override;
};

}  // namespace talvoro::hid
