#include "store/macro_delay.h"

#include <cstdio>

#include "store/store_text.h"

namespace talvoro {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string delay_text(uint32_t milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u%u%u", milliseconds / 1000, milliseconds % 1000 / 100,
                  milliseconds % 100 / 10, milliseconds % 10);
    return text;
}

void format_delay(uint32_t milliseconds, char (&out)[kDelayTextSize]) {
    copy_text(out, delay_text(milliseconds));
}

// Decimal arithmetic rather than a float: 2.010 s as a double is
// 2.00999..., which would come out as 2009 ms.
uint32_t parse_delay_ms(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            return 0;
        ++i;
    }
    constexpr uint64_t kMax = UINT32_MAX;
    uint64_t seconds = 0;
    bool any_digit = false;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        any_digit = true;
        if (seconds <= kMax)
            seconds = seconds * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    uint64_t fraction = 0;  // milliseconds: the first three decimals
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (int place = 0; place < 3; ++place) {
            fraction *= 10;
            if (i < text.size() && is_digit(text[i])) {
                any_digit = true;
                fraction += static_cast<uint64_t>(text[i] - '0');
                ++i;
            }
        }
    }
    if (!any_digit || seconds > kMax)
        return any_digit ? UINT32_MAX : 0;
    const uint64_t total = seconds * 1000 + fraction;
    return total > kMax ? UINT32_MAX : static_cast<uint32_t>(total);
}

}  // namespace talvoro
