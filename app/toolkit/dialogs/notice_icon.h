// The round badge of a notice box: a coloured disc with a sign in it (i, ! or ×).
#pragma once
#include "core/control.h"

namespace talvoro::ui {

enum class NoticeIcon { kNone, kInformation, kWarning, kError };

class CNoticeIconUI : public CControlUI {
  public:
    std::string_view class_name() const override { return "NoticeIcon"; }
    NoticeIcon icon() const { return icon_; }
    void set_icon(NoticeIcon icon);
    // The disc's colour for each icon; none for kNone.
    static Color disc_color(NoticeIcon icon);

    void do_paint(Canvas& canvas, const Rect& dirty) override;

  private:
    NoticeIcon icon_ = NoticeIcon::kNone;
};

}  // namespace talvoro::ui
