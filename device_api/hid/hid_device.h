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

namespace talvoro::hid {

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
    virtual bool attributes(HidAttributes& out) = 0;
    virtual bool report_descriptor(std::vector<uint8_t>& out) = 0;
    virtual bool set_feature(const uint8_t* report, size_t length) = 0;
    virtual bool get_feature(uint8_t* report, size_t length) = 0;

    // A descriptor that polls readable or hung-up when the device has
    // something to say or goes away, for watchers; -1 when there is none.
    virtual int event_descriptor() const = 0;
    // Takes what made the descriptor readable (input reports go to
    // `input_report`, as far as it holds them). False once the device is gone.
    virtual bool service_events(std::vector<uint8_t>& input_report) = 0;
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
// kernel devices first, then virtual mice. TALVORO_HID_BACKENDS ("hidraw",
// "virtual" or both, comma-separated) narrows the backends, so tests never
// reach for real hardware.
std::vector<InterfacePath> list_interfaces();

// Whether TALVORO_HID_BACKENDS enables the backend called `name`.
bool backend_enabled(const char* name);

// The enabled backend that claims `path`, or null.
HidBackend* backend_for(const std::string& path);

}  // namespace talvoro::hid
