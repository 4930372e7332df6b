#include <gtest/gtest.h>

#include <memory>

#include "core/container.h"
#include "core/horizontal_layout.h"
#include "core/label.h"
#include "core/linear_layout.h"
#include "core/paint_manager.h"
#include "core/tab_layout.h"
#include "core/vertical_layout.h"
#include "layout_test_support.h"

namespace talvoro::ui {
namespace {

// A window of the given client size whose root is a fresh `Layout`.
template <class Layout>
Layout* make_window(CPaintManagerUI& manager, Size size) {
    auto root = std::make_unique<Layout>();
    Layout* raw = root.get();
    manager.set_root(std::move(root));
    manager.set_client_size(size);
    return raw;
}

TEST(CoreShareExtent, FixedFirstThenEqualSharesWithRemainderOnLast) {
    std::vector<LinearItem> items{{0}, {0}, {0}};
    EXPECT_EQ(share_extent(items, 100, 0), (std::vector<int>{33, 33, 34}));
    items = {{20}, {0}, {30}, {0}};
    EXPECT_EQ(share_extent(items, 100, 5), (std::vector<int>{20, 17, 30, 18}));
}

TEST(CoreShareExtent, MarginsLimitsAndOverflow) {
    std::vector<LinearItem> items{{0, 4, 6}, {0}};
    EXPECT_EQ(share_extent(items, 50, 0), (std::vector<int>{20, 20}));
    items = {{0, 0, 0, 0, 15}, {0, 0, 0, 30, 0}};
    EXPECT_EQ(share_extent(items, 40, 0), (std::vector<int>{15, 30}));
    // Fixed sizes beyond the space leave stretching children nothing, never a negative size.
    items = {{80}, {0}, {80}};
    EXPECT_EQ(share_extent(items, 100, 0), (std::vector<int>{80, 0, 80}));
    EXPECT_TRUE(share_extent({}, 100, 10).empty());
}

TEST(CoreVerticalLayout, FixedStretchInsetChildPaddingAndPadding) {
    CPaintManagerUI manager;
    auto* root = make_window<CVerticalLayoutUI>(manager, {100, 200});
    ASSERT_TRUE(root->set_attribute("inset", "5,5,5,5"));
    ASSERT_TRUE(root->set_attribute("childpadding", "10"));
    CControlUI* a = add_label(*root, {{"height", "50"}});
    CControlUI* b = add_label(*root, {{"padding", "2,3,4,5"}});
    CControlUI* c = add_label(*root, {});
    CControlUI* narrow = add_label(*root, {{"height", "6"}, {"width", "30"}});
    manager.update_layout();
    // 190 high inside the inset, less 3 gaps, 56 fixed and 8 of padding: 96 shared by two.
    EXPECT_EQ(a->pos(), (Rect{5, 5, 95, 55}));
    EXPECT_EQ(b->pos(), (Rect{7, 68, 91, 116}));
    EXPECT_EQ(c->pos(), (Rect{5, 131, 95, 179}));
    EXPECT_EQ(narrow->pos(), (Rect{5, 189, 35, 195}));
}

TEST(CoreVerticalLayout, HiddenChildrenGiveTheirSpaceAndLimitsApply) {
    CPaintManagerUI manager;
    auto* root = make_window<CVerticalLayoutUI>(manager, {40, 100});
    CControlUI* a = add_label(*root, {{"maxheight", "20"}});
    CControlUI* b = add_label(*root, {});
    CControlUI* hidden = add_label(*root, {{"height", "30"}});
    hidden->set_visible(false);
    manager.update_layout();
    EXPECT_EQ(a->pos(), (Rect{0, 0, 40, 20}));
    EXPECT_EQ(b->pos(), (Rect{0, 20, 40, 70}));
    hidden->set_visible(true);
    ASSERT_TRUE(manager.needs_layout());
    manager.update_layout();
    EXPECT_EQ(b->pos(), (Rect{0, 20, 40, 55}));
    EXPECT_EQ(hidden->pos(), (Rect{0, 55, 40, 85}));
}

TEST(CoreHorizontalLayout, FloatChildrenArePlacedByPosAndSkipTheFlow) {
    CPaintManagerUI manager;
    auto* root = make_window<CHorizontalLayoutUI>(manager, {200, 50});
    ASSERT_TRUE(root->set_attribute("inset", "10,4,10,6"));
    CControlUI* fixed = add_label(*root, {{"width", "30"}, {"height", "12"}});
    CControlUI* floating =
        add_label(*root, {{"float", "true"}, {"pos", "7,3,0,0"}, {"width", "15"}, {"height", "9"}});
    CControlUI* by_pos = add_label(*root, {{"float", "true"}, {"pos", "1,2,21,12"}});
    CControlUI* rest = add_label(*root, {{"padding", "5,1,0,2"}});
    manager.update_layout();
    EXPECT_EQ(fixed->pos(), (Rect{10, 4, 40, 16}));
    EXPECT_EQ(rest->pos(), (Rect{45, 5, 190, 42}));
    // Floats count from the layout's own corner; the inset is for the flow only.
    EXPECT_EQ(floating->pos(), (Rect{7, 3, 22, 12}));
    EXPECT_EQ(by_pos->pos(), (Rect{1, 2, 21, 12}));
    // The program moves float controls at run time through "pos".
    ASSERT_TRUE(floating->set_attribute("pos", "100,0,0,0"));
    manager.update_layout();
    EXPECT_EQ(floating->pos(), (Rect{100, 0, 115, 9}));
}

TEST(CoreContainer, ChildrenFillTheClientAreaAndCanBeInsertedAndRemoved) {
    CPaintManagerUI manager;
    auto* root = make_window<CContainerUI>(manager, {60, 40});
    ASSERT_TRUE(root->set_attribute("inset", "1,2,3,4"));
    CControlUI* first = add_label(*root, {{"name", "first"}});
    CControlUI* front = root->add_at(std::make_unique<CLabelUI>(), 0);
    CControlUI* small = add_label(*root, {{"width", "10"}, {"height", "5"}});
    EXPECT_EQ(root->count(), 3);
    EXPECT_EQ(root->item_at(0), front);
    EXPECT_EQ(root->item_at(1), first);
    EXPECT_EQ(root->item_at(3), nullptr);
    EXPECT_EQ(root->item_at(-1), nullptr);
    EXPECT_EQ(root->add(nullptr), nullptr);
    manager.update_layout();
    EXPECT_EQ(first->pos(), (Rect{1, 2, 57, 36}));
    EXPECT_EQ(small->pos(), (Rect{1, 2, 11, 7}));
    EXPECT_TRUE(root->remove(first));
    EXPECT_FALSE(root->remove(first));
    EXPECT_EQ(root->count(), 2);
    EXPECT_EQ(manager.find_control("first"), nullptr);
}

TEST(CoreTabLayout, OnlyTheSelectedChildIsVisibleAndLaidOut) {
    CPaintManagerUI manager;
    auto* tabs = make_window<CTabLayoutUI>(manager, {80, 60});
    ASSERT_TRUE(tabs->set_attribute("selectedid", "1"));
    CControlUI* pages[3];
    for (auto& page : pages) {
        page = add_label(*tabs, {});
    }
    manager.update_layout();
    EXPECT_FALSE(pages[0]->visible());
    EXPECT_TRUE(pages[1]->visible());
    EXPECT_FALSE(pages[2]->visible());
    EXPECT_EQ(pages[1]->pos(), (Rect{0, 0, 80, 60}));
    EXPECT_TRUE(pages[0]->pos().empty());
    EXPECT_TRUE(tabs->select_item(2));
    manager.update_layout();
    EXPECT_EQ(tabs->selected_index(), 2);
    EXPECT_FALSE(pages[1]->visible());
    EXPECT_EQ(pages[2]->pos(), (Rect{0, 0, 80, 60}));
    EXPECT_FALSE(tabs->select_item(-1));
    EXPECT_FALSE(tabs->set_attribute("selectedid", "two"));
    EXPECT_EQ(tabs->selected_index(), 2);
}

}  // namespace
}  // namespace talvoro::ui
