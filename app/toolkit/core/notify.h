// Notifications the controls send to whoever listens to their window.
#pragma once
#include <cstdint>
#include <string>

#include "render/rect.h"

namespace talvoro::ui {

class CControlUI;

struct TNotifyUI {
    std::string type;  // "click", "selectchanged", a popup's result word ...
    CControlUI* sender = nullptr;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
    // The pointer in window coordinates when the notification was sent.
    Point point;
};

class INotifyUI {
  public:
    virtual ~INotifyUI() = default;
    virtual void notify(TNotifyUI& msg) = 0;
};

}  // namespace talvoro::ui
