// Children in a row: fixed widths first, the rest shared among the stretching ones.
#pragma once
#include "core/linear_layout.h"

namespace talvoro::ui {

class CHorizontalLayoutUI : public CLinearLayoutUI {
  public:
    CHorizontalLayoutUI() : CLinearLayoutUI(Axis::kHorizontal) {}
    std::string_view class_name() const override { return "HorizontalLayout"; }
};

}  // namespace talvoro::ui
