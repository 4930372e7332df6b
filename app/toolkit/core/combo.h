// A closed box showing the selected item's text; a press opens its items as a drop-down
// overlay below it, and clicking an item selects it and sends "itemselect" (wparam: the new
// index, lparam: the previous one, -1 for none).
#pragma once
#include <string>

#include "core/container.h"
#include "core/list_label_element.h"

namespace talvoro::ui {

class CComboUI : public CContainerUI {
  public:
    CComboUI() = default;
    ~CComboUI() override;

    std::string_view class_name() const override { return "Combo"; }
    // Adds "itemfont", "itemtextcolor", "itemhottextcolor", "itemhotbkcolor",
    // "itemselectedbkcolor", "dropbkcolor" and "dropboxsize" ("w,h"; w 0: the combo's width,
    // h 0: the height of all items).
    bool set_attribute(std::string_view name, std::string_view value) override;

    CListLabelElementUI* add_item(std::string text);
    // -1 when nothing is selected.
    int current_index() const { return current_; }
    // Selects the item (-1 clears the selection); "itemselect" only when it changes and
    // `notify` is set. False for an index out of range.
    bool select_item(int index, bool notify = true);

    bool is_open() const { return drop_ != nullptr; }
    // False when there is nothing to show or no window.
    bool open();
    void close();

    Size drop_box_size() const { return drop_box_size_; }
    void set_drop_box_size(Size size) { drop_box_size_ = size; }
    // The rectangle the drop-down takes: below the combo, above it when there is no room
    // below, moved left to stay in the window.
    Rect drop_rect() const;
    int item_height(const CControlUI& item) const;

    void do_event(ControlEvent& event) override;
    bool takes_keyboard_focus() const override { return true; }
    void do_paint(Canvas& canvas, const Rect& dirty) override;
    CControlUI* find_control_at(Point point) override;

  protected:
    // The items live in the drop-down; the closed combo places none of them.
    void layout_children() override {}
    void on_child_added(CControlUI& child) override;

  private:
    void style_item(CControlUI& item);
    void style_items();
    void on_item_activated(CListLabelElementUI& item);

    int current_ = -1;
    Size drop_box_size_;
    int item_font_ = -1;
    Color item_text_color_;
    Color item_hot_text_color_;
    Color item_hot_bk_color_;
    Color item_selected_bk_color_;
    Color drop_bk_color_{255, 255, 255, 255};
    CControlUI* drop_ = nullptr;  // owned by the manager while open
};

}  // namespace talvoro::ui
