// A popup menu: a column of entries shown as an overlay of a window. Choosing an entry sends
// its command through CPaintManagerUI::send_command and closes the whole chain of menus and
// submenus. Whenever the chain goes away (a choice, a press outside, Escape on the first menu,
// another menu opening) the closing command given to show() is sent, and after it the chosen
// command, if any. A window shows one chain at a time.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/container.h"
#include "core/menu_element.h"

namespace talvoro::ui {

class CPaintManagerUI;

class CMenuUI : public CContainerUI {
  public:
    static constexpr int kDefaultWidth = 160;

    CMenuUI();
    ~CMenuUI() override;

    std::string_view class_name() const override { return "Menu"; }
    // Adds "itemtextcolor", "itemhottextcolor", "itemhotbkcolor"; "width", "bkcolor" and
    // "font" are the control's own and pass on to submenus that do not set them.
    bool set_attribute(std::string_view name, std::string_view value) override;

    CMenuElementUI* add_item(std::string text, int command);
    CMenuElementUI* add_separator();
    // The returned submenu belongs to the new entry.
    CMenuUI* add_submenu(std::string text, int command = 0);

    // <Menu attributes><MenuElement text=".." command=".."/><MenuElement separator="true"/>
    // <MenuElement text=".."> entries of a submenu </MenuElement></Menu>. Null when the
    // text is not such a menu.
    static std::unique_ptr<CMenuUI> load(std::string_view xml);

    // Shows the menu with its top-left corner at `at` (moved left or up to stay inside the
    // window), closing the chain shown before. Returns the shown menu.
    static CMenuUI* show(CPaintManagerUI& manager, std::unique_ptr<CMenuUI> menu, Point at,
                         int close_command);
    // The first menu of the chain shown in the window, or null.
    static CMenuUI* shown_menu(const CPaintManagerUI& manager);

    // The width and height the menu takes with its entries.
    Size measure() const;
    CMenuUI* parent_menu() const { return parent_menu_; }

    void set_pos(const Rect& pos) override;
    // Up and Down light the entry above or below, Right or Enter opens a lit entry's submenu
    // (its first entry lit), Enter or Space chooses a lit entry, Left closes a submenu.
    void do_event(ControlEvent& event) override;

  private:
    friend class CMenuElementUI;
    void style_item(CMenuElementUI& item) const;
    // Takes the look of the menu it opens from wherever its own is unset.
    void inherit_from(const CMenuUI& parent);
    void on_element_entered(CMenuElementUI& element);
    void open_submenu(CMenuElementUI& element);
    void choose(int command);
    CMenuUI& root_menu();

    bool is_chain_root_ = false;
    int close_command_ = 0;
    std::optional<int> chosen_;
    CMenuUI* parent_menu_ = nullptr;
    CMenuElementUI* expanded_ = nullptr;  // the entry whose submenu is open
    Color item_text_color_;
    Color item_hot_text_color_;
    Color item_hot_bk_color_;
};

}  // namespace talvoro::ui
