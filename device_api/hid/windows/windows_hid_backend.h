// HID interfaces of the Windows HID class driver: listed through SetupAPI,
// opened and spoken to through hid.dll. Windows makes every top-level
// collection an interface of its own and parses its descriptor itself, so a
// handle answers its one collection's capabilities from HidP_GetCaps.
#pragma once

#include "hid/hid_device.h"

namespace talvoro::hid {

class WindowsHidBackend final : public HidBackend {
  public:
    const char* name() const override { return "hid"; }
    void list(std::vector<std::string>& paths) override;
    // Device-interface paths of the HID class: "\\?\hid#vid_...#{4d1e55b2-...}".
    bool claims(const std::string& path) const override;
    std::unique_ptr<HidHandle> open(const std::string& path, std::string& why) override;
};

}  // namespace talvoro::hid
