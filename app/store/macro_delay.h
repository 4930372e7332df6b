// Delay steps of a macro keep their length as text: seconds with three
// decimals ("1.500", "0.050").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/store_text.h"

namespace talvoro {

// Size of a step's text field.
inline constexpr size_t kDelayTextSize = 200;

// "%d.%d%d%d": whole seconds, then the hundreds, tens and units digit of the
// milliseconds. The rest of the field is zero.
void format_delay(uint32_t milliseconds, char (&out)[kDelayTextSize]);
std::string delay_text(uint32_t milliseconds);

// Reads a decimal number of seconds as milliseconds, exactly: "2.010" is
// 2010, "1.2345" is 1234 (cut, not rounded). Leading blanks and a '+' are
// allowed; reading stops at the first character that does not belong to the
// number, so "1.5s" is 1500. Text without a leading number, or a negative
// one, gives 0; values beyond the 32-bit range give 4294967295.
uint32_t parse_delay_ms(std::string_view text);
// For a fixed text field, such as a step's text: read up to its NUL, and
// never beyond the field when a file left it without one.
template <size_t N>
uint32_t parse_delay_ms(const char (&field)[N]) {
    return parse_delay_ms(field_text(field));
}

}  // namespace talvoro
