// A vertical list of rows (CListContainerElementUI) with one selected row, hot and selected
// row colours, and a thin vertical scroll bar that appears when the rows overflow. Rows are
// drawn and hit only inside the list's area less its inset.
#pragma once
#include <memory>

#include "core/container.h"

namespace talvoro::ui {

class CListContainerElementUI;

class CListUI : public CContainerUI {
  public:
    static constexpr int kDefaultRowHeight = 20;
    static constexpr int kScrollBarWidth = 6;
    static constexpr int kWheelLines = 3;
    static constexpr int kMinThumbHeight = 8;

    std::string_view class_name() const override { return "List"; }
    bool set_attribute(std::string_view name, std::string_view value) override;
    void do_event(ControlEvent& event) override;
    bool takes_keyboard_focus() const override { return true; }
    CControlUI* find_control_at(Point point) override;
    void do_paint(Canvas& canvas, const Rect& dirty) override;

    // Rows keep their selection flag, so inserting or removing rows moves the selected
    // index with its row; removing the selected row leaves none selected.
    bool remove_at(int index);
    void remove_all();
    CListContainerElementUI* row_at(int index) const;
    // -1 when no row is selected.
    int get_cur_sel() const;
    // Selects the row (-1 selects none) and scrolls it into view, at once when the list is
    // laid out, else at the next layout pass. Sends "itemselect" (wparam
    // the new index, lparam the old) when the selection changed and `send_notify` is set.
    // False for an index that is not a row.
    bool select_item(int index, bool send_notify = true);

    Color item_bk_color() const { return item_bk_color_; }
    Color item_hot_bk_color() const { return item_hot_bk_color_; }
    Color item_selected_bk_color() const { return item_selected_bk_color_; }
    Color item_text_color() const { return item_text_color_; }
    Color item_selected_text_color() const { return item_selected_text_color_; }

    // Vertical scrolling, in pixels from the top of the rows.
    bool scroll_bar_visible() const { return content_height_ > view_height(); }
    int scroll_pos() const { return scroll_pos_; }
    int scroll_range() const;
    void set_scroll_pos(int pos);
    // Wheel notches, positive away from the user (scrolls up), as the platform reports them.
    void scroll_wheel(int notches);
    Rect scroll_bar_rect() const;
    Rect thumb_rect() const;

    // Hands a wheel turn at `point` to the innermost list under it that can scroll; false
    // when there is none. The same as the manager's mouse_wheel.
    static bool dispatch_wheel(CPaintManagerUI& manager, Point point, int notches);

    // Called by a row on a click: "itemclick" from the row, then the selection.
    void row_clicked(CListContainerElementUI& row);

  protected:
    void layout_children() override;
    void on_child_added(CControlUI& child) override;

  private:
    // Up/Down, Home/End select; other keys go to the owner as "keydown" (wparam: the key).
    void key_down(int key);
    int row_height(const CControlUI& row) const;
    int view_height() const { return client_rect().height(); }
    void ensure_visible(int index);
    // Moves scroll_pos_ so that the content span [top, bottom) is inside the view.
    void reveal_span(int top, int bottom);

    Color item_bk_color_;
    Color item_hot_bk_color_;
    Color item_selected_bk_color_;
    Color item_text_color_;
    Color item_selected_text_color_;
    int content_height_ = 0;
    int scroll_pos_ = 0;
    bool dragging_thumb_ = false;
    int drag_grab_ = 0;  // pointer distance from the thumb's top while dragging
    // A row to scroll into view at the next layout pass; compared, never followed, so a row
    // removed meanwhile is simply not found.
    const CControlUI* reveal_ = nullptr;
};

}  // namespace talvoro::ui
