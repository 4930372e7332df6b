// A control with children. The plain container gives every flowing child the whole client
// area; the layouts below place them in a row, a column or as tabs.
#pragma once
#include <memory>
#include <vector>

#include "core/control.h"

namespace talvoro::ui {

class CContainerUI : public CControlUI {
  public:
    std::string_view class_name() const override { return "Container"; }
    bool set_attribute(std::string_view name, std::string_view value) override;

    // The container owns its children. Returns the child, or null for a null one.
    CControlUI* add(std::unique_ptr<CControlUI> child);
    // Out-of-range indices append.
    CControlUI* add_at(std::unique_ptr<CControlUI> child, int index);
    // Destroys the child; false when it is not a child of this container.
    bool remove(CControlUI* child);
    void remove_all();
    int count() const { return static_cast<int>(items_.size()); }
    // Null for a bad index.
    CControlUI* item_at(int index) const;
    int index_of(const CControlUI* child) const;

    // Space kept free inside the container's edges for the flowing children; float children
    // are placed from the container's own rectangle and ignore it.
    const Rect& inset() const { return inset_; }
    void set_inset(const Rect& inset);
    // Space between flowing children.
    int child_padding() const { return child_padding_; }
    void set_child_padding(int padding);

    void set_pos(const Rect& pos) override;
    void do_paint(Canvas& canvas, const Rect& dirty) override;
    CControlUI* find_control_at(Point point) override;
    void for_each(const std::function<void(CControlUI&)>& visit) override;
    void set_manager(CPaintManagerUI* manager, CControlUI* parent) override;

  protected:
    // The container's rectangle less its inset.
    Rect client_rect() const;
    // Places the children inside client_rect().
    virtual void layout_children();
    // Places a float child by its pos, relative to the container's own rectangle.
    void place_float(CControlUI& child) const;
    const std::vector<std::unique_ptr<CControlUI>>& items() const { return items_; }
    virtual void on_child_added(CControlUI&) {}

  private:
    std::vector<std::unique_ptr<CControlUI>> items_;
    Rect inset_;
    int child_padding_ = 0;
};

}  // namespace talvoro::ui
