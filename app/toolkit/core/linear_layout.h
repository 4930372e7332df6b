// Row and column layouts: one container that flows its children along an
// axis, and the arithmetic that shares the space between them.
#pragma once
#include <vector>

#include "core/container.h"

namespace talvoro::ui {

struct LinearItem {
    int fixed = 0;  // 0: stretches
    int margin_before = 0;
    int margin_after = 0;
    int min = 0;
    int max = 0;  // 0: no limit
};

// The extent of each item along the axis. Fixed items get their size, stretching ones share
// what is left (after margins and `gap` between items) equally, the last taking the
// remainder, each within its limits.
std::vector<int> share_extent(const std::vector<LinearItem>& items, int available, int gap);

// Children side by side (horizontal) or one above the other (vertical):
// fixed sizes first, the rest shared among those that stretch; float
// children are placed by their own pos.
class CLinearLayoutUI : public CContainerUI {
  public:
    enum class Axis { kHorizontal, kVertical };

  protected:
    explicit CLinearLayoutUI(Axis axis) : axis_(axis) {}
    void layout_children() override;

  private:
    Axis axis_;
};

}  // namespace talvoro::ui
