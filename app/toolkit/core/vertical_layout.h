// Children in a column: fixed heights first, the rest shared among the stretching ones.
#pragma once
#include "core/linear_layout.h"

namespace talvoro::ui {

class CVerticalLayoutUI : public CLinearLayoutUI {
  public:
    CVerticalLayoutUI() : CLinearLayoutUI(Axis::kVertical) {}
    std::string_view class_name() const override { return "VerticalLayout"; }
};

}  // namespace talvoro::ui
