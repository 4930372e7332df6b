// What the macro page tells the person: its delay messages (English in every language) and a
// macro file that could not be written.
#pragma once

#include <string>

namespace talvoro::shell {

class PageHost;

inline constexpr const char* kRecordDelayNotANumber = "Please input the number word .";
inline constexpr const char* kRecordDelayNotPositive = "Please input the correct number word .";
inline constexpr const char* kInsertDelayNotANumber = "Please input the number of the delay time .";
inline constexpr const char* kInsertDelayNotPositive = "The delay time number should not be 0 .";
inline constexpr const char* kEditDelayNotANumber =
    "Please input the number of the editing delay time .";
inline constexpr const char* kEditDelayNotPositive =
    "The delay time number to be edit should not be 0 .";

// "The settings could not be saved to <path>: <reason>" in the interface language.
void tell_not_saved(PageHost& host, const std::string& path, int error);

}  // namespace talvoro::shell
