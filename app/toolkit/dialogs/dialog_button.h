// A button drawn from colours alone, for dialogs that have no skin pictures: its background
// follows the pointer and the press, so every state can be told apart.
#pragma once
#include "core/button.h"

namespace talvoro::ui {

class CDialogButtonUI : public CButtonUI {
  public:
    std::string_view class_name() const override { return "DialogButton"; }
    // Adds "hotbkcolor" and "pushedbkcolor".
    bool set_attribute(std::string_view name, std::string_view value) override;

  protected:
    void paint_bk_color(Canvas& canvas) override;

  private:
    Color hot_bk_color_;
    Color pushed_bk_color_;
};

}  // namespace talvoro::ui
