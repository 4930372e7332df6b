// Parsing of attribute values written as strings by layouts and the program.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/rect.h"

namespace talvoro::ui {

// A decimal integer with optional blanks around it; nothing for anything else.
std::optional<int> parse_int(std::string_view text);
// "true" or "false".
std::optional<bool> parse_bool(std::string_view text);
// "w,h".
std::optional<Size> parse_size(std::string_view text);
// An attribute list as a Default declaration writes it: name="value" name2='value2'.
// Parsing stops at the first malformed entry, keeping the ones before it.
std::vector<std::pair<std::string, std::string>> parse_attribute_list(std::string_view text);

}  // namespace talvoro::ui
