// The library's portable view of one HID interface, and of a backend that
// lists and opens interfaces. Backends live in their own folders (hidraw for
// kernel devices, virtual for virtual mice); everything above this header is
// platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hid/report_descriptor.h"

namespace talvoro::hid {

// What a watcher waits on to learn that an open device spoke or went away.
struct EventSource {
    enum class Kind {
        kNone,          // nothing to wait on: the device cannot be watched
        kWaitable,      // `value` becomes ready when the device speaks or goes away: a descriptor
                        // that polls readable or hung-up, or a handle that is signalled
        kDeviceHandle,  // `value` is the device's own handle; its removal arrives as a
                        // notification from the system about that handle
    };
    Kind kind = Kind::kNone;
    intptr_t value = -1;
};

// Identity of an interface's device.
struct HidAttributes {
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t version_number = 0;
};

// An open interface. Feature reports follow the kernel's convention: byte 0
// is the report id and lengths include it.
class HidHandle {
  public:
    virtual ~HidHandle() = default;

    // Each returns false when the call failed (device gone, report unknown).
    [[nodiscard]] virtual bool attributes(HidAttributes& out) = 0;
    [[nodiscard]] virtual bool report_descriptor(std::vector<uint8_t>& out) = 0;
    // The capabilities of every top-level collection the interface carries, in order. By default
    // parsed from report_descriptor(); a system that parses descriptors itself and hands out
    // no descriptor (Windows, one collection per interface) answers from its own parser.
    virtual bool collections(std::vector<HidCaps>& out);
    [[nodiscard]] virtual bool set_feature(const uint8_t* report, size_t length) = 0;
    [[nodiscard]] virtual bool get_feature(uint8_t* report, size_t length) = 0;

    // What watchers wait on for this device.
    virtual EventSource event_source() = 0;
    // Takes what made the event source ready (input reports go to
    // `input_report`, as far as it holds them). False once the device is gone.
    [[nodiscard]] virtual bool service_events(std::vector<uint8_t>& input_report) = 0;
};

class HidBackend {
  public:
    virtual ~HidBackend() = default;

    virtual const char* name() const = 0;
    // Appends the paths of the interfaces present now, in a stable order.
    virtual void list(std::vector<std::string>& paths) = 0;
    // Whether `path` names an interface of this backend.
    virtual bool claims(const std::string& path) const = 0;
    // Opens an interface for reading and writing; on failure returns null and
    // says why (such as a permission refused) in `why`.
    virtual std::unique_ptr<HidHandle> open(const std::string& path, std::string& why) = 0;
};

// One interface found by enumeration.
struct InterfacePath {
    HidBackend* backend = nullptr;
    std::string path;
};

// Every present interface of every enabled backend, in enumeration order:
// the system's devices first, then virtual mice. TALVORO_HID_BACKENDS (the
// system backend's name, "hidraw" on Linux and "hid" on Windows, "virtual", or
// both, comma-separated) narrows the backends, so tests never reach for real
// hardware.
std::vector<InterfacePath> list_interfaces();

// Whether TALVORO_HID_BACKENDS enables the backend called `name`.
bool backend_enabled(const char* name);

// The enabled backend that claims `path`, or null.
HidBackend* backend_for(const std::string& path);

// The operating system's own backend (hidraw on Linux, hid.dll on Windows) and the virtual
// mice's backend, each defined beside its implementation. Both keep no state.
HidBackend& system_backend();
HidBackend& virtual_backend();

}  // namespace talvoro::hid
