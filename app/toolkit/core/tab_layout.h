// Pages on top of each other: only the selected child is visible and laid out.
#pragma once
#include "core/container.h"

namespace talvoro::ui {

class CTabLayoutUI : public CContainerUI {
  public:
    std::string_view class_name() const override { return "TabLayout"; }
    bool set_attribute(std::string_view name, std::string_view value) override;

    int selected_index() const { return selected_; }
    // Children added later are shown or hidden by this choice too. False for a negative
    // index or one past the current children (the choice is kept for children to come).
    bool select_item(int index);

  protected:
    void layout_children() override;
    void on_child_added(CControlUI& child) override;

  private:
    void apply_visibility();
    int selected_ = 0;
};

}  // namespace talvoro::ui
