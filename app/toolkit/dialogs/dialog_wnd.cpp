#include "dialogs/dialog_wnd.h"

#include "dialogs/dialog_button.h"
#include "dialogs/dialog_palette.h"
#include "dialogs/notice_icon.h"

namespace talvoro::ui {

std::unique_ptr<CControlUI> CDialogWnd::create_control(std::string_view name) {
    if (name == "DialogButton") {
        return std::make_unique<CDialogButtonUI>();
    }
    if (name == "NoticeIcon") {
        return std::make_unique<CNoticeIconUI>();
    }
    return nullptr;
}

bool CDialogWnd::create_dialog(CWindowWnd* owner, const std::string& title, Size size,
                               std::string_view layout, int caption_height) {
    // A popup keeps off the task bar; a box with no owner (at start-up) is the program's only
    // window and must be found there.
    if (!create(owner, title, size, owner != nullptr)) {
        return false;
    }
    CDialogBuilder builder;
    auto root = builder.create(with_dialog_palette(layout), this, &manager());
    if (root == nullptr) {
        destroy();
        return false;
    }
    manager().set_root(std::move(root));
    manager().add_notifier(this);
    set_caption_band(Rect{0, 0, 0, caption_height});
    if (owner == nullptr) {
        center_over(nullptr, work_area());
    }
    return true;
}

}  // namespace talvoro::ui
