// What the toolkit's own dialogs share: a window built from a layout written with the dialog
// palette's colour names, the dialogs' own controls (DialogButton, NoticeIcon) known to the
// builder, a draggable title band, and a place centred over the owner or the work area.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "core/dialog_builder.h"
#include "core/notify.h"
#include "core/window.h"

namespace talvoro::ui {

class CDialogWnd : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
  public:
    std::unique_ptr<CControlUI> create_control(std::string_view name) override;

  protected:
    // Creates the window, `size` big, and builds `layout` in it, its first `caption_height`
    // pixels the title band. Not shown yet. False when either fails (the window is then gone).
    bool create_dialog(CWindowWnd* owner, const std::string& title, Size size,
                       std::string_view layout, int caption_height);
};

}  // namespace talvoro::ui
