// Notices shown to the user as the desktop's modal message box, over the main window when
// there is one.
#pragma once

#include <string>

#include "device/user_notices.h"

namespace talvoro::shell {

class DesktopNotices final : public UserNotices {
  public:
    void show_notice(const std::string& text, const std::string& caption) override;
};

}  // namespace talvoro::shell
