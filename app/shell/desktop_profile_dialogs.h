// The profile pages' Load and Save dialogs, as the desktop's own file chooser.
#pragma once

#include <optional>
#include <string>

#include "device/user_notices.h"
#include "store/profile_files.h"

namespace talvoro::shell {

class DesktopProfileDialogs final : public ProfileDialogs {
  public:
    explicit DesktopProfileDialogs(UserNotices& notices) : notices_(notices) {}

    std::optional<std::string> open_profile_path() override;
    std::optional<std::string> save_profile_path() override;
    void show_notice(const std::string& text) override;

  private:
    UserNotices& notices_;
};

}  // namespace talvoro::shell
