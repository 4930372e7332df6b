// A value in a range chosen by dragging a thumb along a track or clicking the track.
// "valuechanged" is sent when the pointer is released after the value moved.
#pragma once
#include <string>

#include "core/control.h"

namespace talvoro::ui {

class CSliderUI : public CControlUI {
  public:
    std::string_view class_name() const override { return "Slider"; }
    bool set_attribute(std::string_view name, std::string_view value) override;
    void do_event(ControlEvent& event) override;

    int min_value() const { return min_; }
    int max_value() const { return max_; }
    // The bounds are kept ordered; the value is clamped into them again.
    void set_range(int min_value, int max_value);
    int value() const { return value_; }
    // Clamps; sends nothing, as the program calls it to show a model value.
    void set_value(int value);
    int step() const { return step_; }
    void set_step(int step);
    bool horizontal() const { return horizontal_; }
    void set_horizontal(bool horizontal);
    Size thumb_size() const { return thumb_size_; }

    // Where the thumb is drawn for the current value.
    Rect thumb_rect() const;
    // The value a pointer at `point` stands for, clamped and on a step.
    int value_at(Point point) const;
    bool takes_keyboard_focus() const override { return true; }
    bool dragging() const { return dragging_; }

  protected:
    void paint_status_image(Canvas& canvas) override;

  private:
    int snap(int value) const;
    // Arrows move one step, Page Up and Page Down ten, Home and End to the ends.
    void key_step(int key);
    // Draws an image descriptor into `dest` instead of the whole control.
    void draw_image_in(Canvas& canvas, const std::string& descriptor, const Rect& dest);

    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    int step_ = 1;
    bool horizontal_ = true;
    Size thumb_size_{10, 10};
    std::string thumb_image_;
    std::string thumb_hot_image_;
    std::string thumb_pushed_image_;
    std::string fore_image_;
    Color fore_color_;
    bool dragging_ = false;
    bool thumb_hot_ = false;
    int value_at_press_ = 0;
};

}  // namespace talvoro::ui
