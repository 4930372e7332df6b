#include "device/device_path.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "protocol.h"

namespace talvoro {
namespace {

// Up to four characters after the first `marker`, or nothing.
std::string field_after(const std::string& text, const char* marker) {
    const size_t at = text.find(marker);
    if (at == std::string::npos)
        return {};
    return text.substr(at + std::char_traits<char>::length(marker), 4);
}

std::string hex4(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

}  // namespace

bool names_the_mouse(std::string_view interface_name) {
    // Drop the "\\?\" prefix and the interface-class part after the last '#'.
    std::string text(interface_name.size() > 4 ? interface_name.substr(4) : std::string_view());
    if (const size_t last = text.rfind('#'); last != std::string::npos)
        text.resize(last);
    for (char& c : text) {
        c = c == '#' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::string bus = text.substr(0, text.find('\\'));
    return bus == "HID" && field_after(text, "VID_") == hex4(protocol::kVendorId) &&
           field_after(text, "PID_") == hex4(protocol::kProductId);
}

}  // namespace talvoro
