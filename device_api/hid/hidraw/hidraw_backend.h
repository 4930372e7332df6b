// Kernel HID interfaces through /dev/hidraw* nodes.
#pragma once

#include "hid/hid_device.h"

namespace talvoro::hid {

class HidrawBackend final : public HidBackend {
  public:
    const char* name() const override { return "hidraw"; }
    void list(std::vector<std::string>& paths) override;
    bool claims(const std::string& path) const override;
    std::unique_ptr<HidHandle> open(const std::string& path, std::string& why) override;

    // The folder of the nodes: TALVORO_HIDRAW_DIR for tests, else /dev.
    static std::string folder();
};

}  // namespace talvoro::hid
