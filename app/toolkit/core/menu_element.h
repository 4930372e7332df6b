// One row of a popup menu: a command, a separator, or the entry that opens a submenu.
#pragma once
#include <memory>

#include "core/list_label_element.h"

namespace talvoro::ui {

class CMenuUI;

class CMenuElementUI : public CListLabelElementUI {
  public:
    static constexpr int kItemHeight = 24;
    static constexpr int kSeparatorHeight = 7;

    CMenuElementUI();
    ~CMenuElementUI() override;

    std::string_view class_name() const override { return "MenuElement"; }
    // Adds "command" (an integer) and "separator" ("true" or "false").
    bool set_attribute(std::string_view name, std::string_view value) override;
    void do_event(ControlEvent& event) override;

    int command() const { return command_; }
    void set_command(int command) { command_ = command; }
    bool is_separator() const { return separator_; }
    void set_separator(bool separator);
    int height() const;

    // The submenu this entry opens; created on first use.
    CMenuUI& submenu();
    bool has_submenu() const { return has_submenu_; }
    // The submenu while it is shown, null otherwise.
    CMenuUI* open_submenu() const { return open_submenu_; }

  protected:
    void paint_bk_color(Canvas& canvas) override;
    void paint_text(Canvas& canvas) override;

  private:
    friend class CMenuUI;  // moves the submenu to the window and back while it is shown
    CMenuUI* menu() const;

    int command_ = 0;
    bool separator_ = false;
    bool has_submenu_ = false;
    std::unique_ptr<CMenuUI> submenu_;
    CMenuUI* open_submenu_ = nullptr;
};

}  // namespace talvoro::ui
