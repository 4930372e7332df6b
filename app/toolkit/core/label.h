// One line of text over a background.
#pragma once
#include "core/control.h"

namespace talvoro::ui {

class CLabelUI : public CControlUI {
  public:
    std::string_view class_name() const override { return "Label"; }
};

}  // namespace talvoro::ui
