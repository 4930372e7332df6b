// The macro page's import and export dialogs, behind an interface so that tests answer them.
#pragma once

#include <optional>
#include <string>

namespace talvoro::shell {

class MacroDialogs {
  public:
    virtual ~MacroDialogs() = default;
    // The chosen path, or nothing when the person cancelled.
    virtual std::optional<std::string> open_macro_path() = 0;
    virtual std::optional<std::string> save_macro_path() = 0;
};

}  // namespace talvoro::shell
