#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/button.h"
#include "core/container.h"
#include "core/dialog_builder.h"
#include "core/option.h"
#include "core/paint_manager.h"
#include "core/tab_layout.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

constexpr const char* kLayout = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200" caption="0,0,0,30" roundcorner="4,4" mininfo="300,200">
  <Font name="DejaVu Sans" size="12" bold="true" default="true"/>
  <Font name="DejaVu Sans" size="16" italic="true"/>
  <Image name="nowhere.png"/>
  <Default name="Button" value="height=&quot;20&quot; textcolor=&quot;#FFFF0000&quot;"/>
  <VerticalLayout name="root" bkcolor="#FF000000" inset="2,2,2,2">
    <HorizontalLayout name="row" height="40" childpadding="4">
      <Button name="ok" text="OK" width="60" height="30"/>
      <Option name="o1" group="g" selected="true" width="20"/>
      <Option name="o2" group="g" width="20"/>
    </HorizontalLayout>
    <TabLayout name="tabs" selectedid="1">
      <Label name="page0"/>
      <Text name="page1" text="hello"/>
    </TabLayout>
    <OskelPage name="custom" height="10"/>
    <Bogus name="skipped"><Button name="lost"/></Bogus>
    <Label name="plain" height="12"><Button name="inside_label"/></Label>
  </VerticalLayout>
</Window>
)";

// A page of the program's own, as the builder's callback makes it.
class PageUI : public CContainerUI {
  public:
    std::string_view class_name() const override { return "OskelPage"; }
};

class Callback : public IDialogBuilderCallback {
  public:
    std::unique_ptr<CControlUI> create_control(std::string_view name) override {
        asked.emplace_back(name);
        if (name == "OskelPage") {
            return std::make_unique<PageUI>();
        }
        return nullptr;
    }
    std::vector<std::string> asked;
};

TEST(CoreDialogBuilder, BuildsTheTreeAndTheWindowDeclarations) {
    CPaintManagerUI manager;
    Callback callback;
    CDialogBuilder builder;
    auto root = builder.create(kLayout, &callback, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->name(), "root");
    EXPECT_EQ(manager.window_attribute("size"), "300,200");
    EXPECT_EQ(manager.window_attribute("roundcorner"), "4,4");
    EXPECT_FALSE(manager.window_attribute("sizebox"));
    ASSERT_EQ(manager.font_count(), 2u);
    EXPECT_TRUE(manager.font(-1).bold);
    EXPECT_EQ(manager.font(1).pixel_size, 16);
    EXPECT_TRUE(manager.font(1).italic);
    EXPECT_EQ(manager.font(99), manager.font(0));
    EXPECT_EQ(callback.asked, (std::vector<std::string>{"OskelPage", "Bogus"}));

    manager.set_root(std::move(root));
    manager.set_client_size({300, 200});
    manager.update_layout();
    auto* ok = dynamic_cast<CButtonUI*>(manager.find_control("ok"));
    ASSERT_NE(ok, nullptr);
    // The element's height wins over the default; the default's colour stays.
    EXPECT_EQ(ok->fixed_height(), 30);
    EXPECT_EQ(ok->text_color(), Color::from_argb(0xFFFF0000));
    EXPECT_EQ(ok->pos(), (Rect{2, 2, 62, 32}));
    auto* o1 = dynamic_cast<COptionUI*>(manager.find_control("o1"));
    auto* o2 = dynamic_cast<COptionUI*>(manager.find_control("o2"));
    ASSERT_TRUE(o1 && o2);
    EXPECT_TRUE(o1->is_selected());
    EXPECT_EQ(o2->pos(), (Rect{90, 2, 110, 42}));
    auto* tabs = dynamic_cast<CTabLayoutUI*>(manager.find_control("tabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->selected_index(), 1);
    EXPECT_FALSE(manager.find_control("page0")->visible());
    EXPECT_EQ(manager.find_control("page1")->text(), "hello");
    EXPECT_EQ(manager.find_control("page1")->pos(), (Rect{2, 42, 298, 176}));
    auto* custom = manager.find_control("custom");
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->class_name(), "OskelPage");
    EXPECT_EQ(custom->manager(), &manager);
    EXPECT_EQ(manager.find_control("skipped"), nullptr);
    EXPECT_EQ(manager.find_control("lost"), nullptr);
    EXPECT_EQ(manager.find_control("inside_label"), nullptr);
    EXPECT_EQ(manager.find_control("plain")->pos(), (Rect{2, 186, 298, 198}));
}

TEST(CoreDialogBuilder, TheLastSelectedOptionOfAGroupWins) {
    CPaintManagerUI manager;
    CDialogBuilder builder;
    manager.set_root(builder.create(R"(<Window><HorizontalLayout>
        <Option name="a" group="g" selected="true"/>
        <Option name="b" group="g" selected="true"/>
        <Option name="c" group="h" selected="true"/>
        <Option name="d" selected="true"/>
        <Option name="e" selected="true"/>
      </HorizontalLayout></Window>)",
                                    nullptr, &manager));
    auto selected = [&](const char* name) {
        auto* option = dynamic_cast<COptionUI*>(manager.find_control(name));
        return option != nullptr && option->is_selected();
    };
    EXPECT_FALSE(selected("a"));
    EXPECT_TRUE(selected("b"));
    EXPECT_TRUE(selected("c"));
    EXPECT_TRUE(selected("d"));
    EXPECT_TRUE(selected("e"));
}

TEST(CoreDialogBuilder, BareTreesFilesAndNoManager) {
    CDialogBuilder builder;
    auto bare =
        builder.create(R"(<HorizontalLayout name="page"><Label name="x"/></HorizontalLayout>)");
    ASSERT_NE(bare, nullptr);
    auto* container = dynamic_cast<CContainerUI*>(bare.get());
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->count(), 1);
    EXPECT_EQ(container->item_at(0)->name(), "x");
    EXPECT_EQ(container->manager(), nullptr);

    test::TempFolder folder;
    std::ofstream(folder.file("page.xml")) << kLayout;
    auto from_file = builder.create_from_file(folder.file("page.xml"));
    ASSERT_NE(from_file, nullptr);
    EXPECT_EQ(from_file->name(), "root");
    EXPECT_EQ(builder.create_from_file(folder.file("absent.xml")), nullptr);
}

TEST(CoreDialogBuilder, MalformedOrEmptyLayoutsGiveNoTree) {
    CDialogBuilder builder;
    CPaintManagerUI manager;
    const char* bad[] = {
        "",
        "not xml at all",
        "<Window><VerticalLayout></Window>",
        "<Window size=\"1,1\"/>",
        "<Window><Font name=\"x\"/><Unknown/></Window>",
        "<Window><VerticalLayout name=\"a\" width=\"10\"",
    };
    for (const char* xml : bad) {
        EXPECT_EQ(builder.create(xml, nullptr, &manager), nullptr) << xml;
    }
}

TEST(CoreDialogBuilder, DeepNestingIsCutNotFatal) {
    std::string xml;
    for (int i = 0; i < 5000; ++i) {
        xml += "<Container>";
    }
    for (int i = 0; i < 5000; ++i) {
        xml += "</Container>";
    }
    CDialogBuilder builder;
    auto root = builder.create(xml);
    ASSERT_NE(root, nullptr);
    int depth = 0;
    for (CControlUI* c = root.get(); c != nullptr; ++depth) {
        auto* container = dynamic_cast<CContainerUI*>(c);
        c = container != nullptr ? container->item_at(0) : nullptr;
    }
    EXPECT_GT(depth, 100);
    EXPECT_LT(depth, 5000);
}

// Mutated layouts and random attribute strings are built, laid out, painted and clicked.
TEST(CoreDialogBuilder, RandomMalformedInputNeverCrashes) {
    std::mt19937 random(20261207);
    const std::string base = kLayout;
    const std::string noise = "<>/=\"'&;# ,-0123456789abcxyz\x01\xff";
    const char* names[] = {"pos",     "width",   "height",       "padding",   "inset",
                           "bkcolor", "align",   "font",         "selected",  "selectedid",
                           "float",   "bkimage", "childpadding", "maxheight", "text"};
    int built = 0;
    int rejected = 0;
    Canvas canvas(64, 48);
    for (int round = 0; round < 600; ++round) {
        std::string xml = base;
        int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !xml.empty(); ++e) {
            size_t at = random() % xml.size();
            switch (random() % 3) {
                case 0:
                    xml[at] = noise[random() % noise.size()];
                    break;
                case 1:
                    xml.erase(at, 1 + random() % 8);
                    break;
                default:
                    xml.insert(at, 1, noise[random() % noise.size()]);
            }
        }
        CPaintManagerUI manager;
        Callback callback;
        CDialogBuilder builder;
        auto root = builder.create(xml, &callback, &manager);
        if (root == nullptr) {
            ++rejected;
            continue;
        }
        ++built;
        manager.set_root(std::move(root));
        manager.set_client_size({64, 48});
        std::vector<CControlUI*> controls;
        manager.for_each_control([&](CControlUI& c) { controls.push_back(&c); });
        for (CControlUI* control : controls) {
            std::string value;
            for (int n = static_cast<int>(random() % 12); n > 0; --n) {
                value += noise[random() % noise.size()];
            }
            control->set_attribute(names[random() % std::size(names)], value);
        }
        for (const Rect& r : manager.paint(canvas)) {
            EXPECT_EQ(r.intersect(canvas.bounds()), r);
        }
        int x = static_cast<int>(random() % 80) - 8;
        int y = static_cast<int>(random() % 60) - 6;
        manager.mouse_move(x, y);
        manager.mouse_down(x, y);
        manager.mouse_up(x, y);
        manager.drain_async();
    }
    // The mutations must have produced both kinds, or the test proves little.
    EXPECT_GT(built, 50);
    EXPECT_GT(rejected, 50);
}

}  // namespace
}  // namespace talvoro::ui
