#include "watch/virtual_interface_name.h"

#include <charconv>

#include "hid/virtual/virtual_wire.h"

namespace talvoro::watch {

std::optional<VirtualInterfaceName> parse_virtual_interface_name(std::string_view file_name) {
    const std::string_view suffix = hid::virtual_wire::kSocketSuffix;
    if (!file_name.ends_with(suffix)) {
        return std::nullopt;
    }
    file_name.remove_suffix(suffix.size());
    const size_t marker = file_name.rfind(".if");
    if (marker == std::string_view::npos || marker == 0) {
        return std::nullopt;
    }
    const std::string_view digits = file_name.substr(marker + 3);
    if (digits.empty() || digits.size() > 3) {
        return std::nullopt;
    }
    unsigned number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return VirtualInterfaceName{std::string(file_name.substr(0, marker)), number};
}

}  // namespace talvoro::watch
