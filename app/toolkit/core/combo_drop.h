// The drop-down part of a combo while it is open: an overlay that shows the combo's items in
// a column. The items stay owned by the combo; this only places, paints and hit-tests them.
#pragma once
#include "core/control.h"

namespace talvoro::ui {

class CComboUI;

class CComboDropUI : public CControlUI {
  public:
    explicit CComboDropUI(CComboUI& owner) : owner_(owner) {}
    std::string_view class_name() const override { return "ComboDrop"; }

    void set_pos(const Rect& pos) override;
    void do_paint(Canvas& canvas, const Rect& dirty) override;
    CControlUI* find_control_at(Point point) override;
    void for_each(const std::function<void(CControlUI&)>& visit) override;
    // Keys are the combo's: it chooses and closes.
    void do_event(ControlEvent& event) override;

  private:
    CComboUI& owner_;
};

}  // namespace talvoro::ui
