#include "shell/dialog_builder_callback_ex.h"

#include "shell/pages/oskel_macro_manage_ui.h"
#include "shell/pages/oskel_main_control_ui.h"
#include "shell/pages/oskel_performance_ui.h"
#include "shell/pages/oskel_support_ui.h"

namespace talvoro::shell {

std::unique_ptr<ui::CControlUI> CDialogBuilderCallbackEx::create_control(std::string_view name) {
    if (name == "OskelMainControl") {
        return std::make_unique<OskelMainControlUI>(this);
    }
    if (name == "OskelPerformance") {
        return std::make_unique<OskelPerformanceUI>();
    }
    if (name == "OskelMacro") {
        return std::make_unique<OskelMacroManageUI>();
    }
    if (name == "OskelSupport") {
        return std::make_unique<OskelSupportUI>();
    }
    return nullptr;
}

}  // namespace talvoro::shell
