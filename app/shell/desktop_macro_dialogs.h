// The macro page's import and export dialogs, as the desktop's own file chooser.
#pragma once

#include "shell/macro_dialogs.h"

namespace talvoro::shell {

class DesktopMacroDialogs final : public MacroDialogs {
  public:
    std::optional<std::string> open_macro_path() override;
    std::optional<std::string> save_macro_path() override;
};

}  // namespace talvoro::shell
