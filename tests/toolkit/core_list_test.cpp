#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/button.h"
#include "core/dialog_builder.h"
#include "core/edit.h"
#include "core/label.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "core/paint_manager.h"
#include "core/vertical_layout.h"

namespace talvoro::ui {
namespace {

class Recorder : public INotifyUI {
  public:
    void notify(TNotifyUI& msg) override {
        seen.push_back(msg.type + ":" + (msg.sender != nullptr ? msg.sender->name() : "-") + ":" +
                       std::to_string(msg.wparam));
    }
    std::vector<std::string> seen;
};

// A 200 x 100 list over a 20-pixel button "below"; rows are 20 pixels high, named "rowN",
// each holding a label that covers it.
class CoreListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto root = std::make_unique<CVerticalLayoutUI>();
        auto owned = std::make_unique<CListUI>();
        list = owned.get();
        list->set_name("list");
        list->set_fixed_height(100);
        root->add(std::move(owned));
        auto button = std::make_unique<CButtonUI>();
        button->set_name("below");
        button->set_fixed_height(20);
        below = static_cast<CButtonUI*>(root->add(std::move(button)));
        manager.set_root(std::move(root));
        manager.set_client_size({200, 120});
        manager.add_notifier(&recorder);
    }

    static std::unique_ptr<CListContainerElementUI> make_row(const std::string& name) {
        auto row = std::make_unique<CListContainerElementUI>();
        row->set_name(name);
        row->set_fixed_height(20);
        auto label = std::make_unique<CLabelUI>();
        label->set_name(name + "_label");
        row->add(std::move(label));
        return row;
    }
    void add_rows(int n) {
        for (int i = 0; i < n; ++i) {
            list->add(make_row("row" + std::to_string(list->count())));
        }
        manager.update_layout();
    }
    void click(int x, int y) {
        manager.mouse_down(x, y);
        manager.mouse_up(x, y);
    }

    CPaintManagerUI manager;
    Recorder recorder;
    CListUI* list = nullptr;
    CButtonUI* below = nullptr;
};

TEST_F(CoreListTest, ClickSelectsRowWithNotifications) {
    add_rows(3);
    EXPECT_EQ(list->get_cur_sel(), -1);
    click(50, 30);  // on row 1's label
    EXPECT_EQ(list->get_cur_sel(), 1);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"itemclick:row1:1", "itemselect:list:1"}));
    recorder.seen.clear();
    click(50, 35);  // the selected row again: a click, no new selection
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"itemclick:row1:1"});
    EXPECT_TRUE(list->row_at(1)->is_selected());
    EXPECT_FALSE(list->row_at(0)->is_selected());
}

TEST_F(CoreListTest, SelectItemWithAndWithoutNotify) {
    add_rows(3);
    EXPECT_TRUE(list->select_item(2, false));
    EXPECT_EQ(list->get_cur_sel(), 2);
    EXPECT_TRUE(recorder.seen.empty());
    EXPECT_TRUE(list->select_item(0));
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"itemselect:list:0"});
    EXPECT_FALSE(list->row_at(2)->is_selected());
    EXPECT_FALSE(list->select_item(3));
    EXPECT_FALSE(list->select_item(-2));
    EXPECT_EQ(list->get_cur_sel(), 0);
    EXPECT_TRUE(list->select_item(-1, false));
    EXPECT_EQ(list->get_cur_sel(), -1);
}

TEST_F(CoreListTest, InsertAndRemoveShiftSelection) {
    add_rows(3);
    list->select_item(1, false);
    list->add_at(make_row("new"), 0);
    EXPECT_EQ(list->get_cur_sel(), 2);
    list->add_at(make_row("after"), 3);
    EXPECT_EQ(list->get_cur_sel(), 2);
    EXPECT_TRUE(list->remove_at(0));
    EXPECT_EQ(list->get_cur_sel(), 1);
    EXPECT_EQ(list->row_at(1)->name(), "row1");
    EXPECT_TRUE(list->remove_at(1));
    EXPECT_EQ(list->get_cur_sel(), -1);
    EXPECT_FALSE(list->remove_at(9));
    list->remove_all();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->get_cur_sel(), -1);
}

TEST_F(CoreListTest, RowsFollowEachOtherAndClickAfterRemovalHitsTheNewRow) {
    add_rows(3);
    list->remove_at(0);
    manager.update_layout();
    EXPECT_EQ(list->row_at(0)->pos(), (Rect{0, 0, 200, 20}));
    click(50, 5);
    EXPECT_EQ(recorder.seen.front(), "itemclick:row1:0");
}

TEST_F(CoreListTest, ScrollBarOnlyOnOverflow) {
    add_rows(5);  // exactly 100 pixels
    EXPECT_FALSE(list->scroll_bar_visible());
    EXPECT_EQ(list->row_at(0)->pos().width(), 200);
    add_rows(3);
    EXPECT_TRUE(list->scroll_bar_visible());
    EXPECT_EQ(list->scroll_range(), 60);
    EXPECT_EQ(list->row_at(0)->pos().width(), 200 - CListUI::kScrollBarWidth);
    EXPECT_EQ(list->scroll_bar_rect(), (Rect{200 - CListUI::kScrollBarWidth, 0, 200, 100}));
    list->remove_at(7);
    list->remove_at(6);
    list->remove_at(5);
    manager.update_layout();
    EXPECT_FALSE(list->scroll_bar_visible());
}

TEST_F(CoreListTest, WheelScrollsAndClampsAndHiddenRowsGetNoClicks) {
    add_rows(10);  // 200 pixels in a 100-pixel view
    EXPECT_TRUE(CListUI::dispatch_wheel(manager, Point{50, 50}, -1));
    EXPECT_EQ(list->scroll_pos(), CListUI::kWheelLines * 20);
    list->scroll_wheel(-5);
    EXPECT_EQ(list->scroll_pos(), 100);
    EXPECT_EQ(list->row_at(0)->pos().top, -100);
    click(50, 5);  // the top of the view shows row 5
    EXPECT_EQ(list->get_cur_sel(), 5);
    recorder.seen.clear();
    // Row 0 of the original order would be here without scrolling; row 9 ends at 100, so
    // the button below gets the click and no row does.
    click(50, 110);
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"click:below:0"});
    EXPECT_EQ(list->get_cur_sel(), 5);
    list->scroll_wheel(10);
    EXPECT_EQ(list->scroll_pos(), 0);
    EXPECT_FALSE(CListUI::dispatch_wheel(manager, Point{50, 110}, 1));
}

TEST_F(CoreListTest, RowsBelowTheViewDoNotTakeClicksOverTheButton) {
    add_rows(10);  // rows 5-9 lie over the button's area, outside the view
    click(50, 110);
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"click:below:0"});
    EXPECT_EQ(list->get_cur_sel(), -1);
}

TEST_F(CoreListTest, SelectingScrollsRowIntoView) {
    add_rows(10);
    list->select_item(9, false);
    EXPECT_EQ(list->scroll_pos(), 100);
    list->select_item(0, false);
    EXPECT_EQ(list->scroll_pos(), 0);
}

TEST_F(CoreListTest, ScrollBarTrackAndThumb) {
    add_rows(10);
    Rect thumb = list->thumb_rect();
    EXPECT_EQ(thumb.height(), 50);
    click(195, 90);  // the track below the thumb pages down
    EXPECT_EQ(list->scroll_pos(), 100);
    EXPECT_EQ(list->get_cur_sel(), -1);
    manager.mouse_down(195, 60);  // grab the thumb, now at 50-100, and drag it up
    manager.mouse_move(195, 35);
    EXPECT_EQ(list->scroll_pos(), 50);
    manager.mouse_up(195, 35);
    EXPECT_TRUE(recorder.seen.empty());
}

TEST_F(CoreListTest, EditsInRowsSelectUnlessEditable) {
    auto row = make_row("named");
    auto edit = std::make_unique<CEditUI>();
    edit->set_name("macro_file_name_1");
    edit->set_attribute("readonly", "true");
    CEditUI* field = static_cast<CEditUI*>(row->add(std::move(edit)));
    list->add(std::move(row));
    manager.update_layout();
    click(50, 10);
    EXPECT_EQ(recorder.seen.front(), "itemclick:named:0");
    EXPECT_EQ(list->get_cur_sel(), 0);
    recorder.seen.clear();
    field->set_readonly(false);
    click(50, 10);
    EXPECT_TRUE(recorder.seen.empty());
    EXPECT_EQ(manager.focus(), field);
}

TEST_F(CoreListTest, HotAndSelectedBackgrounds) {
    list->set_attribute("itemhotbkcolor", "#FF00FF00");
    list->set_attribute("itemselectedbkcolor", "#FFFF0000");
    list->add(std::make_unique<CListContainerElementUI>());
    list->add(std::make_unique<CListContainerElementUI>());
    list->row_at(0)->set_fixed_height(20);
    list->row_at(1)->set_fixed_height(20);
    list->select_item(0, false);
    manager.mouse_move(50, 30);
    Canvas canvas(200, 120);
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(50, 10), Color::from_argb(0xFFFF0000));
    EXPECT_EQ(canvas.pixel(50, 30), Color::from_argb(0xFF00FF00));
    EXPECT_EQ(canvas.pixel(50, 50), Color{});
}

TEST_F(CoreListTest, ItemClickHandlerMayRebuildTheList) {
    add_rows(3);
    struct Rebuilder : INotifyUI {
        CListUI* list;
        void notify(TNotifyUI& msg) override {
            if (msg.type == "itemclick") {
                list->remove_all();
            }
        }
    } rebuilder;
    rebuilder.list = list;
    manager.add_notifier(&rebuilder);
    click(50, 30);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->get_cur_sel(), -1);
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"itemclick:row1:1"});
}

TEST(CoreListBuild, FromXml) {
    CDialogBuilder builder;
    auto control = builder.create(
        R"(<List name="macro_name_list" itemselectedbkcolor="#FF112233" )"
        R"(itemtextcolor="#FFFFFFFF" itemselectedtextcolor="#FF000000" itemhotbkcolor="#FF445566">)"
        R"(<ListContainerElement height="18"><HorizontalLayout><Edit name="e" readonly="true"/>)"
        R"(</HorizontalLayout></ListContainerElement>)"
        R"(<ListContainerElement height="18"/></List>)");
    auto* list = dynamic_cast<CListUI*>(control.get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2);
    ASSERT_NE(list->row_at(0), nullptr);
    EXPECT_EQ(list->row_at(0)->fixed_height(), 18);
    EXPECT_EQ(list->item_selected_bk_color(), Color::from_argb(0xFF112233));
    EXPECT_EQ(list->item_hot_bk_color(), Color::from_argb(0xFF445566));
    EXPECT_EQ(list->item_text_color(), Color::from_argb(0xFFFFFFFF));
    EXPECT_EQ(list->item_selected_text_color(), Color::from_argb(0xFF000000));
    EXPECT_EQ(list->row_at(0)->owner(), list);
    EXPECT_TRUE(list->select_item(1, false));
    EXPECT_EQ(list->row_at(1)->index(), 1);
}

}  // namespace
}  // namespace talvoro::ui
