// Makes the main window's four pages for the element names of its layout.
#pragma once

#include <memory>
#include <string_view>

#include "core/dialog_builder.h"

namespace talvoro::shell {

class CDialogBuilderCallbackEx : public ui::IDialogBuilderCallback {
  public:
    // "OskelMainControl", "OskelPerformance", "OskelMacro", "OskelSupport"; null for any other
    // name, so the toolkit uses its own classes.
    std::unique_ptr<ui::CControlUI> create_control(std::string_view name) override;
};

}  // namespace talvoro::shell
