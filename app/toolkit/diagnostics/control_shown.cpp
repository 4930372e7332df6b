#include "diagnostics/control_shown.h"

namespace talvoro::ui {

bool control_shown(const CControlUI& control) {
    for (const CControlUI* c = &control; c != nullptr; c = c->parent()) {
        if (!c->visible()) {
            return false;
        }
    }
    return true;
}

}  // namespace talvoro::ui
