#include "shell/pages/delay_entry.h"

#include <cctype>

namespace talvoro::shell {

DelayEntry read_delay_entry(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const size_t digits_start = at;
    uint64_t value = 0;
    bool too_long = false;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + static_cast<uint64_t>(text[at] - '0');
        // Saturates instead of wrapping, so a long run of digits stays too long.
        if (value > kLongestDelayMs) {
            too_long = true;
            value = kLongestDelayMs + uint64_t{1};
        }
    }
    if (at == digits_start) {
        // No digits: nothing was read, and whatever the text holds follows "the number".
        return {text.empty() ? DelayEntryFault::kNotPositive : DelayEntryFault::kNotANumber, 0};
    }
    if (at != text.size() || too_long) {
        return {DelayEntryFault::kNotANumber, 0};
    }
    if (negative || value == 0) {
        return {DelayEntryFault::kNotPositive, 0};
    }
    return {DelayEntryFault::kNone, static_cast<uint32_t>(value)};
}

}  // namespace talvoro::shell
