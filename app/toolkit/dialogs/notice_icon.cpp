#include "dialogs/notice_icon.h"

#include <algorithm>
#include <cmath>

#include "core/paint_manager.h"

namespace talvoro::ui {

void CNoticeIconUI::set_icon(NoticeIcon icon) {
    if (icon != icon_) {
        icon_ = icon;
        invalidate();
    }
}

Color CNoticeIconUI::disc_color(NoticeIcon icon) {
    switch (icon) {
        case NoticeIcon::kInformation:
            return Color::from_argb(0xFF3A3A44);
        case NoticeIcon::kWarning:
            return Color::from_argb(0xFFE8A317);
        case NoticeIcon::kError:
            return Color::from_argb(0xFFFF3C3C);
        case NoticeIcon::kNone:
            break;
    }
    return {};
}

void CNoticeIconUI::do_paint(Canvas& canvas, const Rect& dirty) {
    const Color disc = disc_color(icon_);
    const Rect area = pos().intersect(dirty);
    if (disc.is_none() || area.empty()) {
        return;
    }
    ClipScope clip(canvas, area);
    // The disc with a soft edge one physical pixel wide: coverage from the distance to the rim.
    const double scale = canvas.scale().factor();
    const double radius = std::min(pos().width(), pos().height()) / 2.0 * scale;
    const double cx = (pos().left + pos().width() / 2.0) * scale;
    const double cy = (pos().top + pos().height() / 2.0) * scale;
    const Rect pixels = canvas.physical_clip();
    for (int y = pixels.top; y < pixels.bottom; ++y) {
        for (int x = pixels.left; x < pixels.right; ++x) {
            const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double coverage = std::clamp(radius - distance + 0.5, 0.0, 1.0);
            if (coverage > 0) {
                canvas.blend_physical(x, y, disc, static_cast<uint8_t>(coverage * 255));
            }
        }
    }
    const char* sign = icon_ == NoticeIcon::kInformation ? "i"
                       : icon_ == NoticeIcon::kWarning   ? "!"
                                                         : "\xC3\x97";  // ×
    FontStyle font = manager() != nullptr ? manager()->font(-1) : FontStyle{};
    font.bold = true;
    font.pixel_size = std::max(8, pos().height() * 2 / 3);
    // Dark on the light amber disc, white on the others.
    const Color ink = Color::from_argb(icon_ == NoticeIcon::kWarning ? 0xFF000000 : 0xFFFFFFFF);
    draw_text(canvas, pos(), sign, font, ink, kTextSingleLine | kTextCenter | kTextVCenter);
}

}  // namespace talvoro::ui
