// A button that stays selected. Options sharing a group in one window are exclusive; an
// option without a group toggles on its own.
#pragma once
#include <string>

#include "core/button.h"

namespace talvoro::ui {

class COptionUI : public CButtonUI {
  public:
    std::string_view class_name() const override { return "Option"; }
    bool set_attribute(std::string_view name, std::string_view value) override;

    const std::string& group() const { return group_; }
    void set_group(std::string group) { group_ = std::move(group); }
    bool is_selected() const { return selected_; }
    // Selecting one option of a group clears the others of the window (they send nothing).
    // Sends "selectchanged" when the state changes and `send_notify` is set.
    void selected(bool select, bool send_notify = true);
    // "click", then selects (or toggles without a group).
    bool activate() override;
    // In a group the arrows move the focus to the option before or after and select it.
    void do_event(ControlEvent& event) override;
    // Of the selected options of a group joining a window, the last in tree order stays
    // selected.
    void set_manager(CPaintManagerUI* manager, CControlUI* parent) override;

    const std::string& selected_image() const { return selected_image_; }
    const std::string& selected_hot_image() const { return selected_hot_image_; }

  protected:
    void paint_status_image(Canvas& canvas) override;

  private:
    void clear_group_peers();
    // The next (or previous) peer of the group that keys can reach, round the ends; null when
    // there is none but this.
    COptionUI* group_neighbour(bool forwards);

    std::string group_;
    bool selected_ = false;
    std::string selected_image_;
    std::string selected_hot_image_;
};

}  // namespace talvoro::ui
