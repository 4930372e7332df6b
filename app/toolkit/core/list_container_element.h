// One row of a CListUI: a container whose children are its cells. A click anywhere on it
// (but on a button or an edit that can be typed into) selects the row.
#pragma once
#include "core/container.h"

namespace talvoro::ui {

class CListUI;

class CListContainerElementUI : public CContainerUI {
  public:
    std::string_view class_name() const override { return "ListContainerElement"; }
    void do_event(ControlEvent& event) override;
    CControlUI* find_control_at(Point point) override;

    // The list the row is in; null while it is in none.
    CListUI* owner() const;
    // The row's index in its list, -1 outside one.
    int index() const;
    bool is_selected() const { return selected_; }
    bool is_hot() const { return hot_; }

  protected:
    void paint_bk_color(Canvas& canvas) override;
    void paint_text(Canvas& canvas) override;

  private:
    friend class CListUI;
    void set_selected_flag(bool selected);

    bool selected_ = false;
    bool hot_ = false;
};

}  // namespace talvoro::ui
