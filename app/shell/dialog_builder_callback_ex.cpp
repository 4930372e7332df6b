#include "shell/dialog_builder_callback_ex.h"

#include "shell/pages/oskel_macro_manage_ui.h"
#include "shell/pages/oskel_main_control_ui.h"
#include "shell/pages/oskel_performance_ui.h"
#include "shell/pages/oskel_support_ui.h"

namespace talvoro::shell {
namespace {

template <typename Page, typename... Args>
std::unique_ptr<ui::CControlUI> make(Page*& kept, Args&&... args) {
    auto page = std::make_unique<Page>(std::forward<Args>(args)...);
    kept = page.get();
    return page;
}

}  // namespace

std::unique_ptr<ui::CControlUI> CDialogBuilderCallbackEx::create_control(std::string_view name) {
    if (name == "OskelMainControl") {
        return make(main_control_, this);
    }
    if (name == "OskelPerformance") {
        return make(performance_);
    }
    if (name == "OskelMacro") {
        return make(macro_manage_);
    }
    if (name == "OskelSupport") {
        return make(support_);
    }
    return nullptr;
}

}  // namespace talvoro::shell
