// What the person typed into one of the macro page's delay edits, read as whole milliseconds.
#pragma once

#include <cstdint>
#include <string_view>

namespace talvoro::shell {

// The longest delay accepted, so that every delay fits the step text and the 32-bit counts the
// recorder and the mouse work with.
inline constexpr uint32_t kLongestDelayMs = 2147483647;

enum class DelayEntryFault {
    kNone,
    kNotANumber,   // characters after the number, no number at all, or beyond kLongestDelayMs
    kNotPositive,  // zero, negative or empty
};

struct DelayEntry {
    DelayEntryFault fault = DelayEntryFault::kNone;
    uint32_t milliseconds = 0;  // only for kNone

    bool ok() const { return fault == DelayEntryFault::kNone; }
};

// A base-10 integer: leading blanks and a sign are allowed, leading zeros too ("0050" is 50);
// nothing may follow it.
DelayEntry read_delay_entry(std::string_view text);

}  // namespace talvoro::shell
