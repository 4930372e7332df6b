// Makes the main window's four pages for the element names of its layout, and keeps a typed
// reference to each page it made (the pages belong to the control tree).
#pragma once

#include <memory>
#include <string_view>

#include "core/dialog_builder.h"

namespace talvoro::shell {

class OskelMainControlUI;
class OskelPerformanceUI;
class OskelMacroManageUI;
class OskelSupportUI;

class CDialogBuilderCallbackEx : public ui::IDialogBuilderCallback {
  public:
    // "OskelMainControl", "OskelPerformance", "OskelMacro", "OskelSupport"; null for any other
    // name, so the toolkit uses its own classes.
    std::unique_ptr<ui::CControlUI> create_control(std::string_view name) override;

    // The last page of each kind made; null when the layout named none.
    OskelMainControlUI* main_control() const { return main_control_; }
    OskelPerformanceUI* performance() const { return performance_; }
    OskelMacroManageUI* macro_manage() const { return macro_manage_; }
    OskelSupportUI* support() const { return support_; }

  private:
    OskelMainControlUI* main_control_ = nullptr;
    OskelPerformanceUI* performance_ = nullptr;
    OskelMacroManageUI* macro_manage_ = nullptr;
    OskelSupportUI* support_ = nullptr;
};

}  // namespace talvoro::shell
