#include "watch/windows/interface_ids.h"

#include <cctype>

namespace talvoro::watch {
namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The id after `key` ("VID" or "PID") and its separator: after '_' exactly four digits follow;
// after '&' a run of four to eight whose last four are the id.
std::optional<uint16_t> id_after(std::string_view path, std::string_view key) {
    for (size_t at = 0; at + key.size() < path.size(); ++at) {
        if (!starts_with_ignoring_case(path.substr(at), key)) {
            continue;
        }
        const char separator = path[at + key.size()];
        if (separator != '_' && separator != '&') {
            continue;
        }
        const std::string_view rest = path.substr(at + key.size() + 1);
        size_t run = 0;
        while (run < rest.size() && run <= 8 && hex_value(rest[run]) >= 0) {
            ++run;
        }
        const bool fits = separator == '_' ? run == 4 : run >= 4 && run <= 8;
        if (!fits) {
            continue;
        }
        uint16_t id = 0;
        for (size_t i = run - 4; i < run; ++i) {
            id = static_cast<uint16_t>(id << 4 | hex_value(rest[i]));
        }
        return id;
    }
    return std::nullopt;
}

}  // namespace

std::optional<InterfaceIds> interface_ids_from_path(std::string_view path) {
    const auto vendor = id_after(path, "VID");
    const auto product = id_after(path, "PID");
    if (!vendor || !product) {
        return std::nullopt;
    }
    return InterfaceIds{*vendor, *product};
}

}  // namespace talvoro::watch
