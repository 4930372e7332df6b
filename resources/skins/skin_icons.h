// Small line icons beside captions and on icon buttons, drawn in one colour so that each
// state of a button tints its icon like its caption.
#pragma once

#include "antialias.h"

namespace talvoro::skins {

enum class Icon {
    kNone,
    kClose,
    kGlobe,
    kReset,
    kPower,
    kPlus,
    kMinus,
    kPencil,
    kTrash,
    kImport,
    kExport,
    kRecord,
    kStop,
    kMouse,
    kClock,
    kDownload,
    kLink,
    kCheck,
};

// The icon centred on (cx, cy), about `size` pixels across.
void draw_icon(Canvas& canvas, Icon icon, double cx, double cy, double size, Color color);

// The product's mark: two chevrons pointing right, the second fainter, `height` tall, from
// `left` and centred on `mid`; it is 7/6 of its height wide.
void draw_brand_mark(Canvas& canvas, double left, double mid, double height);

// The 14 x 14 macro step icons on black.
enum class StepIcon { kTimer, kKeyDown, kKeyUp, kMouse };
void draw_step_icon(Canvas& canvas, StepIcon icon);

}  // namespace talvoro::skins
