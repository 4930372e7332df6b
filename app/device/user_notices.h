// The seam through which the device link tells the user something: the
// program shows a message box ("Notice by App"), the command-line tool prints,
// and tests answer.
#pragma once

#include <string>

namespace talvoro {

inline constexpr const char* kNoticeCaption = "Notice by App";

class UserNotices {
  public:
    virtual ~UserNotices() = default;
    // A modal notice with an OK button; returns once it was dismissed.
    virtual void show_notice(const std::string& text, const std::string& caption) = 0;
};

}  // namespace talvoro
