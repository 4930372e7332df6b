#include <array>
#include <cstdlib>
#include <cstring>

#include "hid/hid_device.h"

namespace talvoro::hid {

bool HidHandle::collections(std::vector<HidCaps>& out) {
    std::vector<uint8_t> descriptor;
    if (!report_descriptor(descriptor))
        return false;
    out = parse_report_descriptor(descriptor.data(), descriptor.size());
    return !out.empty();
}

// TALVORO_HID_BACKENDS is a comma-separated list; unset or empty enables
// every backend.
bool backend_enabled(const char* name) {
    const char* list = std::getenv("TALVORO_HID_BACKENDS");
    if (list == nullptr || *list == '\0')
        return true;
    const size_t length = std::strlen(name);
    for (const char* at = list; *at != '\0';) {
        const char* end = std::strchr(at, ',');
        const size_t item = end != nullptr ? static_cast<size_t>(end - at) : std::strlen(at);
        if (item == length && std::strncmp(at, name, length) == 0)
            return true;
        if (end == nullptr)
            break;
        at = end + 1;
    }
    return false;
}

namespace {

// Backends in enumeration order. They keep no state, so one of each serves
// every caller and thread.
const std::array<HidBackend*, 2>& backends() {
    static const std::array<HidBackend*, 2> all{&system_backend(), &virtual_backend()};
    return all;
}

}  // namespace

std::vector<InterfacePath> list_interfaces() {
    std::vector<InterfacePath> found;
    for (HidBackend* backend : backends()) {
        if (!backend_enabled(backend->name()))
            continue;
        std::vector<std::string> paths;
        backend->list(paths);
        for (auto& path : paths)
            found.push_back({backend, std::move(path)});
    }
    return found;
}

HidBackend* backend_for(const std::string& path) {
    for (HidBackend* backend : backends()) {
        if (backend_enabled(backend->name()) && backend->claims(path))
            return backend;
    }
    return nullptr;
}

}  // namespace talvoro::hid
