// JSON string literals, for the UI dump and the CLI's output for scripts.
#pragma once

#include <string>
#include <string_view>

namespace talvoro {

// Appends `text` as a quoted JSON string. Quotes, backslashes and control characters are
// escaped; UTF-8 passes through as it is.
void append_json_string(std::string& out, std::string_view text);

}  // namespace talvoro
