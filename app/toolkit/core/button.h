// A label that can be pressed: state pictures, and "click" on a release inside it.
#pragma once
#include <string>

#include "core/label.h"

namespace talvoro::ui {

class CButtonUI : public CLabelUI {
  public:
    std::string_view class_name() const override { return "Button"; }
    bool set_attribute(std::string_view name, std::string_view value) override;
    void do_event(ControlEvent& event) override;
    bool takes_keyboard_focus() const override { return true; }
    void set_enabled(bool enabled) override;

    // Sends "click"; false when the button is disabled.
    virtual bool activate();
    // A button whose click opens a menu under it also opens it on Alt+Down.
    void set_opens_menu(bool opens) { opens_menu_ = opens; }
    bool opens_menu() const { return opens_menu_; }

    bool hot() const { return hot_; }
    bool pushed() const { return pushed_; }
    const std::string& normal_image() const { return normal_image_; }
    const std::string& hot_image() const { return hot_image_; }
    const std::string& pushed_image() const { return pushed_image_; }
    const std::string& disabled_image() const { return disabled_image_; }

  protected:
    void paint_status_image(Canvas& canvas) override;
    // The state picture of the button alone; options pick theirs first.
    const std::string& button_state_image() const;

  private:
    bool hot_ = false;
    bool pushed_ = false;
    bool opens_menu_ = false;
    std::string normal_image_;
    std::string hot_image_;
    std::string pushed_image_;
    std::string disabled_image_;
};

}  // namespace talvoro::ui
