// One line of text in a list-like popup (a combo's drop-down): hot and selected states with
// colours that the owning control sets, and activation by a click.
#pragma once
#include <functional>

#include "core/label.h"

namespace talvoro::ui {

class CListLabelElementUI : public CLabelUI {
  public:
    // The height an item takes when it has none of its own.
    static constexpr int kDefaultHeight = 22;

    std::string_view class_name() const override { return "ListLabelElement"; }
    void do_event(ControlEvent& event) override;

    bool hot() const { return hot_; }
    void set_hot(bool hot);
    bool selected() const { return selected_; }
    void set_selected(bool selected);

    // The look the owner gives its items; a colour of 0 keeps the item's own.
    void set_item_font(int font);
    void set_item_text_color(Color color);
    void set_hot_text_color(Color color);
    void set_hot_bk_color(Color color);
    void set_selected_bk_color(Color color);

    // Called on a click (press and release inside the item).
    void set_on_activate(std::function<void(CListLabelElementUI&)> on_activate) {
        on_activate_ = std::move(on_activate);
    }

  protected:
    void paint_bk_color(Canvas& canvas) override;
    void paint_text(Canvas& canvas) override;

  private:
    bool hot_ = false;
    bool selected_ = false;
    bool pushed_ = false;
    int item_font_ = -1;
    Color item_text_color_;
    Color hot_text_color_;
    Color hot_bk_color_;
    Color selected_bk_color_;
    std::function<void(CListLabelElementUI&)> on_activate_;
};

}  // namespace talvoro::ui
