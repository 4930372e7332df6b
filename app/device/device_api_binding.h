// Loading the device library (kDeviceLibraryFile) and binding its entry points, once at start-up.
#pragma once

#include <memory>

#include "device/device_api.h"
#include "device/user_notices.h"
#include "platform/platform_names.h"

namespace talvoro {

class DynamicLibrary;

class DeviceApiBinding {
  public:
    // Loads the library (the program's folder first) and binds the ten entry
    // points in order. No library: the notice "load QX api failed !\n" and
    // false. A missing entry point: its own notice, once, and binding goes on.
    [[nodiscard]] bool bind(UserNotices& notices, const char* file_name = kDeviceLibraryFile);

    const DeviceApi& api() const { return api_; }
    bool loaded() const { return library_ != nullptr; }

    DeviceApiBinding();
    ~DeviceApiBinding();

  private:
    // Held until the process ends: the library is never unloaded.
    std::unique_ptr<DynamicLibrary> library_;
    DeviceApi api_;
};

}  // namespace talvoro
