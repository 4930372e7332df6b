// UTF-8 decoding for text drawing.
#pragma once

#include <string>
#include <string_view>

namespace talvoro::ui {

// Bad or truncated sequences, surrogates and overlong forms become U+FFFD each.
std::u32string decode_utf8(std::string_view text);

}  // namespace talvoro::ui
