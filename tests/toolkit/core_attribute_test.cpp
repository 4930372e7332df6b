#include <gtest/gtest.h>

#include "core/attribute_values.h"
#include "core/button.h"
#include "core/container.h"
#include "core/option.h"
#include "core/tab_layout.h"

namespace talvoro::ui {
namespace {

TEST(CoreAttributeValues, NumbersFlagsSizesAndLists) {
    EXPECT_EQ(parse_int(" 42 "), 42);
    EXPECT_EQ(parse_int("-3"), -3);
    EXPECT_EQ(parse_int("+7"), 7);
    EXPECT_FALSE(parse_int(""));
    EXPECT_FALSE(parse_int("12px"));
    EXPECT_FALSE(parse_int("99999999999"));
    EXPECT_EQ(parse_bool("true"), true);
    EXPECT_EQ(parse_bool("false"), false);
    EXPECT_FALSE(parse_bool("1"));
    EXPECT_EQ(parse_size("1025,701"), (Size{1025, 701}));
    EXPECT_FALSE(parse_size("1025"));
    EXPECT_FALSE(parse_size("a,b"));

    auto list = parse_attribute_list(R"( height="20" text='a "b"'  font = "1")");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], (std::pair<std::string, std::string>{"height", "20"}));
    EXPECT_EQ(list[1].second, "a \"b\"");
    EXPECT_EQ(list[2], (std::pair<std::string, std::string>{"font", "1"}));
    // Parsing stops at the first broken entry and keeps what came before.
    list = parse_attribute_list(R"(a="1" b=2 c="3")");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].first, "a");
    EXPECT_EQ(parse_attribute_list(R"(a="unterminated)").size(), 0u);
}

TEST(CoreControlAttributes, WellFormedValuesReachTheGetters) {
    CControlUI control;
    EXPECT_TRUE(control.set_attribute("name", "closebtn"));
    EXPECT_TRUE(control.set_attribute("text", "Close"));
    EXPECT_TRUE(control.set_attribute("tooltip", "Closes"));
    EXPECT_TRUE(control.set_attribute("visible", "false"));
    EXPECT_TRUE(control.set_attribute("enabled", "false"));
    EXPECT_TRUE(control.set_attribute("pos", "291,69,0,0"));
    EXPECT_TRUE(control.set_attribute("width", "35"));
    EXPECT_TRUE(control.set_attribute("height", "48"));
    EXPECT_TRUE(control.set_attribute("minwidth", "3"));
    EXPECT_TRUE(control.set_attribute("maxheight", "40"));
    EXPECT_TRUE(control.set_attribute("padding", "1,2,3,4"));
    EXPECT_TRUE(control.set_attribute("bkcolor", "#FF102030"));
    EXPECT_TRUE(control.set_attribute("bkcolor2", "#FF405060"));
    EXPECT_TRUE(control.set_attribute("bordercolor", "#FFFFFFFF"));
    EXPECT_TRUE(control.set_attribute("textcolor", "#00FFFFFF"));
    EXPECT_TRUE(control.set_attribute("disabledtextcolor", "#FF808080"));
    EXPECT_TRUE(control.set_attribute("bordersize", "2"));
    EXPECT_TRUE(control.set_attribute("bkimage", "file='MCBox.bmp' source='455,270,490,318' "));
    EXPECT_TRUE(control.set_attribute("align", "right"));
    EXPECT_TRUE(control.set_attribute("valign", "bottom"));
    EXPECT_TRUE(control.set_attribute("textpadding", "4,0,4,0"));
    EXPECT_TRUE(control.set_attribute("font", "2"));
    EXPECT_TRUE(control.set_attribute("showhtml", "true"));
    EXPECT_TRUE(control.set_attribute("float", "true"));

    EXPECT_EQ(control.name(), "closebtn");
    EXPECT_EQ(control.text(), "Close");
    EXPECT_EQ(control.tooltip(), "Closes");
    EXPECT_FALSE(control.visible());
    EXPECT_FALSE(control.enabled());
    EXPECT_TRUE(control.is_float());
    EXPECT_EQ(control.float_pos(), (Rect{291, 69, 0, 0}));
    EXPECT_EQ(control.fixed_width(), 35);
    EXPECT_EQ(control.fixed_height(), 48);
    EXPECT_EQ(control.min_width(), 3);
    EXPECT_EQ(control.max_height(), 40);
    EXPECT_EQ(control.clamp_height(100), 40);
    EXPECT_EQ(control.clamp_width(1), 3);
    EXPECT_EQ(control.padding(), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(control.bk_color(), Color::from_argb(0xFF102030));
    EXPECT_EQ(control.bk_color2(), Color::from_argb(0xFF405060));
    EXPECT_EQ(control.border_color(), Color::from_argb(0xFFFFFFFF));
    EXPECT_EQ(control.text_color(), Color::from_argb(0x00FFFFFF));
    EXPECT_EQ(control.disabled_text_color(), Color::from_argb(0xFF808080));
    EXPECT_EQ(control.border_size(), 2);
    EXPECT_EQ(control.bk_image(), "file='MCBox.bmp' source='455,270,490,318' ");
    EXPECT_EQ(control.text_align(), kTextRight | kTextBottom);
    EXPECT_EQ(control.text_padding(), (Rect{4, 0, 4, 0}));
    EXPECT_EQ(control.font(), 2);
    EXPECT_TRUE(control.show_html());

    EXPECT_TRUE(control.set_attribute("align", "center vcenter"));
    EXPECT_EQ(control.text_align(), kTextCenter | kTextVCenter);
    // A "pos" with a size sets the fixed size too.
    EXPECT_TRUE(control.set_attribute("pos", "10,20,40,60"));
    EXPECT_EQ(control.fixed_width(), 30);
    EXPECT_EQ(control.fixed_height(), 40);
}

TEST(CoreControlAttributes, UnknownNamesAndMalformedValuesChangeNothing) {
    CControlUI control;
    ASSERT_TRUE(control.set_attribute("width", "10"));
    ASSERT_TRUE(control.set_attribute("bkcolor", "#FF000001"));
    ASSERT_TRUE(control.set_attribute("align", "center"));
    ASSERT_TRUE(control.set_attribute("padding", "1,1,1,1"));
    const std::pair<const char*, const char*> bad[] = {
        {"width", "abc"},
        {"width", "-5"},
        {"width", ""},
        {"height", "1e3"},
        {"bkcolor", "#GG000000"},
        {"bkcolor", "red"},
        {"pos", "1,2,3"},
        {"padding", "1;2;3;4"},
        {"visible", "maybe"},
        {"enabled", "1"},
        {"align", "diagonal"},
        {"align", ""},
        {"font", "x"},
        {"font", "-2"},
        {"bordersize", "-1"},
        {"nonsense", "1"},
        {"", ""},
        {"float", "yes"},
    };
    for (auto [name, value] : bad) {
        EXPECT_FALSE(control.set_attribute(name, value)) << name << "=" << value;
    }
    EXPECT_EQ(control.fixed_width(), 10);
    EXPECT_EQ(control.fixed_height(), 0);
    EXPECT_EQ(control.bk_color(), Color::from_argb(0xFF000001));
    EXPECT_EQ(control.text_align(), kTextCenter | kTextVCenter);
    EXPECT_EQ(control.padding(), (Rect{1, 1, 1, 1}));
    EXPECT_TRUE(control.visible());
    EXPECT_TRUE(control.enabled());
    EXPECT_FALSE(control.is_float());
    EXPECT_EQ(control.font(), -1);
    EXPECT_EQ(control.border_size(), 0);
}

TEST(CoreControlAttributes, SubclassesAddTheirOwnAndKeepTheBase) {
    COptionUI option;
    EXPECT_TRUE(option.set_attribute("normalimage", "file='a.png'"));
    EXPECT_TRUE(option.set_attribute("hotimage", "b.png"));
    EXPECT_TRUE(option.set_attribute("pushedimage", "c.png"));
    EXPECT_TRUE(option.set_attribute("disabledimage", "d.png"));
    EXPECT_TRUE(option.set_attribute("selectedimage", "e.png"));
    EXPECT_TRUE(option.set_attribute("selectedhotimage", "f.png"));
    EXPECT_TRUE(option.set_attribute("group", "kbtabs"));
    EXPECT_TRUE(option.set_attribute("selected", "true"));
    EXPECT_FALSE(option.set_attribute("selected", "yes"));
    EXPECT_TRUE(option.set_attribute("text", "Tab"));
    EXPECT_EQ(option.normal_image(), "file='a.png'");
    EXPECT_EQ(option.hot_image(), "b.png");
    EXPECT_EQ(option.pushed_image(), "c.png");
    EXPECT_EQ(option.disabled_image(), "d.png");
    EXPECT_EQ(option.selected_image(), "e.png");
    EXPECT_EQ(option.selected_hot_image(), "f.png");
    EXPECT_EQ(option.group(), "kbtabs");
    EXPECT_TRUE(option.is_selected());
    EXPECT_EQ(option.text(), "Tab");

    CContainerUI container;
    EXPECT_TRUE(container.set_attribute("inset", "1,2,3,4"));
    EXPECT_TRUE(container.set_attribute("childpadding", "6"));
    EXPECT_FALSE(container.set_attribute("childpadding", "-6"));
    EXPECT_FALSE(container.set_attribute("inset", "1,2"));
    EXPECT_TRUE(container.set_attribute("bkcolor", "#FF000000"));
    EXPECT_EQ(container.inset(), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(container.child_padding(), 6);

    CButtonUI button;
    EXPECT_FALSE(button.set_attribute("selectedimage", "x.png"));
    EXPECT_FALSE(button.set_attribute("selectedid", "1"));
}

}  // namespace
}  // namespace talvoro::ui
