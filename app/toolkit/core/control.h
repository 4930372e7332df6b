// The base of every control: attributes by name, position, painting and input.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "core/control_event.h"
#include "render/canvas.h"
#include "render/color.h"
#include "render/rect.h"
#include "render/text_renderer.h"

namespace talvoro::ui {

class CPaintManagerUI;

// Whether a "pos" gives the far edge (right or bottom) for the near one (left or top): it must
// lie beyond it and not be 0, which stands for "size from width or height".
constexpr bool float_extent_given(int near_edge, int far_edge) {
    return far_edge != 0 && far_edge > near_edge;
}

class CControlUI {
  public:
    CControlUI() = default;
    virtual ~CControlUI() = default;
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // The element name a layout uses for this class; also the key of default attributes.
    virtual std::string_view class_name() const { return "Control"; }

    // Sets one attribute as layouts write it. False, with a debug message, for an unknown
    // name or a malformed value; the control is then unchanged.
    virtual bool set_attribute(std::string_view name, std::string_view value);

    const std::string& name() const { return name_; }
    void set_name(std::string name) { name_ = std::move(name); }
    const std::string& text() const { return text_; }
    void set_text(std::string text);
    const std::string& tooltip() const { return tooltip_; }
    void set_tooltip(std::string tooltip) { tooltip_ = std::move(tooltip); }

    bool visible() const { return visible_; }
    virtual void set_visible(bool visible);
    bool enabled() const { return enabled_; }
    virtual void set_enabled(bool enabled);

    // A float control is placed at float_pos() from its parent's own top-left corner (the
    // parent's inset does not apply) and takes no part in the parent's flow.
    bool is_float() const { return float_; }
    void set_float(bool is_float);
    const Rect& float_pos() const { return float_pos_; }
    void set_float_pos(const Rect& pos);

    // 0 means the control stretches in that direction.
    int fixed_width() const { return fixed_width_; }
    void set_fixed_width(int width);
    int fixed_height() const { return fixed_height_; }
    void set_fixed_height(int height);
    int min_width() const { return min_width_; }
    int max_width() const { return max_width_; }
    int min_height() const { return min_height_; }
    int max_height() const { return max_height_; }
    // Applies the min and max limits to a size the layout proposes.
    int clamp_width(int width) const;
    int clamp_height(int height) const;
    // Outer margins that the parent's layout keeps free around the control.
    const Rect& padding() const { return padding_; }
    void set_padding(const Rect& padding);

    Color bk_color() const { return bk_color_; }
    Color bk_color2() const { return bk_color2_; }
    Color border_color() const { return border_color_; }
    Color text_color() const { return text_color_; }
    Color disabled_text_color() const { return disabled_text_color_; }
    int border_size() const { return border_size_; }
    const std::string& bk_image() const { return bk_image_; }
    // kTextLeft/kTextCenter/kTextRight combined with kTextTop/kTextVCenter/kTextBottom.
    unsigned text_align() const { return text_align_; }
    const Rect& text_padding() const { return text_padding_; }
    // Index into the manager's fonts; -1 for the default font.
    int font() const { return font_; }
    bool show_html() const { return show_html_; }

    const Rect& pos() const { return pos_; }
    virtual void set_pos(const Rect& pos);

    // Paints the part of the control inside `dirty`: background colour, background image,
    // state image, text, border.
    virtual void do_paint(Canvas& canvas, const Rect& dirty);
    virtual void do_event(ControlEvent& event);
    // Whether Tab stops here: controls a person uses (buttons, options, sliders, lists, edits).
    virtual bool takes_keyboard_focus() const { return false; }

    // The topmost visible, enabled control at the point, children before parents.
    virtual CControlUI* find_control_at(Point point);
    // Visits this control and everything under it.
    virtual void for_each(const std::function<void(CControlUI&)>& visit);

    void invalidate();
    // Asks the manager for a layout pass, as the size or visibility changed.
    void need_update();

    CPaintManagerUI* manager() const { return manager_; }
    CControlUI* parent() const { return parent_; }
    virtual void set_manager(CPaintManagerUI* manager, CControlUI* parent);

  protected:
    virtual void paint_bk_color(Canvas& canvas);
    virtual void paint_bk_image(Canvas& canvas);
    virtual void paint_status_image(Canvas& canvas);
    virtual void paint_text(Canvas& canvas);
    virtual void paint_border(Canvas& canvas);
    // Flags for draw_text besides the alignment.
    virtual unsigned text_flags() const { return kTextSingleLine; }
    // Draws an image descriptor over the control; false when nothing could be drawn.
    bool draw_image(Canvas& canvas, std::string_view descriptor);
    void send_notify(std::string_view type, uintptr_t wparam = 0, intptr_t lparam = 0);

  private:
    bool set_color(Color& target, std::string_view value);
    bool set_align(std::string_view value, bool vertical_only);

    CPaintManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    std::string name_;
    std::string text_;
    std::string tooltip_;
    bool visible_ = true;
    bool enabled_ = true;
    bool float_ = false;
    bool show_html_ = false;
    Rect float_pos_;
    Rect pos_;
    Rect padding_;
    Rect text_padding_;
    int fixed_width_ = 0;
    int fixed_height_ = 0;
    int min_width_ = 0;
    int max_width_ = 0;  // 0: no limit
    int min_height_ = 0;
    int max_height_ = 0;
    Color bk_color_;
    Color bk_color2_;
    Color border_color_;
    Color text_color_{255, 0, 0, 0};
    Color disabled_text_color_;
    int border_size_ = 0;
    std::string bk_image_;
    unsigned text_align_ = kTextLeft | kTextVCenter;
    int font_ = -1;
};

}  // namespace talvoro::ui
