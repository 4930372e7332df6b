#include <gtest/gtest.h>

#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "core/text.h"
#include "diagnostics/window_driver.h"
#include "dialogs/notice_box_wnd.h"
#include "render/text_renderer.h"

namespace talvoro::ui {
namespace {

const std::string kGerman =
    "Das Profil konnte nicht gespeichert werden, weil der Zielordner schreibgeschützt ist. "
    "Bitte wählen Sie einen anderen Speicherort oder überprüfen Sie die Zugriffsrechte des "
    "Ordners, bevor Sie die Einstellungen erneut übernehmen.";

bool is_text_pixel(Color c) {
    // White glyphs (and their light anti-aliased edges) on the dark panel.
    return c.r > 150 && c.g > 150 && c.b > 150;
}

TEST(NoticeBox, ShowsTheCaptionTheTextAndAnOkButton) {
    CNoticeBoxWnd box("Load the profile error .", "Notice by App", NoticeIcon::kInformation);
    ASSERT_TRUE(box.open(nullptr));
    EXPECT_EQ(box.title(), "Notice by App");
    EXPECT_EQ(box.window_class_name(), "NoticeBoxWnd");
    ASSERT_NE(box.manager().find_control("notice_caption"), nullptr);
    EXPECT_EQ(box.manager().find_control("notice_caption")->text(), "Notice by App");
    EXPECT_EQ(box.manager().find_control("notice_text")->text(), "Load the profile error .");
    EXPECT_EQ(box.manager().find_control("notice_ok_btn")->text(), "OK");
    auto* icon = dynamic_cast<CNoticeIconUI*>(box.manager().find_control("notice_icon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->icon(), NoticeIcon::kInformation);
    EXPECT_TRUE(icon->visible());
}

TEST(NoticeBox, OkEnterAndEscapeDismissIt) {
    CNoticeBoxWnd clicked("a", "Notice by App", NoticeIcon::kNone);
    ASSERT_TRUE(clicked.open(nullptr));
    EXPECT_TRUE(click_control(clicked, "notice_ok_btn"));
    EXPECT_FALSE(clicked.is_created());

    for (int key : {kKeyReturn, kKeyEscape}) {
        CNoticeBoxWnd box("a", "Notice by App", NoticeIcon::kNone);
        ASSERT_TRUE(box.open(nullptr));
        press_key(box, 'A');
        press_key(box, kKeyTab);
        EXPECT_TRUE(box.is_created()) << "other keys leave it open";
        press_key(box, key);
        EXPECT_FALSE(box.is_created()) << key;
    }
}

TEST(NoticeBox, TheProgramsTrailingLineBreakIsNotShown) {
    CNoticeBoxWnd box("load QX api failed !\n", "Notice by App", NoticeIcon::kInformation);
    ASSERT_TRUE(box.open(nullptr));
    EXPECT_EQ(box.manager().find_control("notice_text")->text(), "load QX api failed !");
    EXPECT_EQ(CNoticeBoxWnd::shown_text("x\r\n\n"), "x");
    EXPECT_EQ(CNoticeBoxWnd::shown_text("a\nb"), "a\nb");
}

TEST(NoticeBox, ALongGermanTextWrapsInsideTheBox) {
    CNoticeBoxWnd short_box("OK?", "Notice by App", NoticeIcon::kNone);
    CNoticeBoxWnd box(kGerman, "Hinweis", NoticeIcon::kNone);
    ASSERT_TRUE(short_box.open(nullptr));
    ASSERT_TRUE(box.open(nullptr));
    box.paint_now();
    const Rect text = box.manager().find_control("notice_text")->pos();
    const Rect body = box.manager().find_control("notice_body")->pos();
    const Rect window{0, 0, box.rect().width(), box.rect().height()};
    EXPECT_EQ(box.rect().width(), CNoticeBoxWnd::kWidth);
    EXPECT_GT(box.rect().height(), short_box.rect().height());
    EXPECT_TRUE(window.contains(Point{text.left, text.top}));
    EXPECT_TRUE(window.contains(Point{text.right - 1, text.bottom - 1}));

    // Every glyph pixel of the body lies inside the text's rectangle, over several lines.
    const FontStyle font{"Verdana", 13};
    const int line = measure_text("Ag", font).height;
    int first_row = -1;
    int last_row = -1;
    for (int y = body.top; y < body.bottom; ++y) {
        for (int x = body.left; x < body.right; ++x) {
            if (!is_text_pixel(box.canvas().pixel(x, y))) {
                continue;
            }
            ASSERT_TRUE(text.contains(Point{x, y})) << x << "," << y;
            first_row = first_row < 0 ? y : first_row;
            last_row = y;
        }
    }
    ASSERT_GE(first_row, 0) << "no text drawn";
    EXPECT_GT(last_row - first_row, 3 * line) << "the text should take four lines or more";
    // The box is tall enough for all of it.
    const Size needed = measure_text(kGerman, font, kTextWordBreak, text.width());
    EXPECT_GE(text.height(), needed.height);
}

TEST(NoticeBox, CentredOverItsOwnerOrTheWorkArea) {
    CWindowWnd owner;
    ASSERT_TRUE(owner.create(nullptr, "main", Size{1025, 701}));
    owner.move(Rect{100, 100, 1125, 801});
    CNoticeBoxWnd box("text", "Notice by App", NoticeIcon::kError);
    ASSERT_TRUE(box.open(&owner));
    const Rect& r = box.rect();
    // Centred to the pixel; odd sizes round either way.
    EXPECT_NEAR(r.left + r.width() / 2.0, 100 + 1025 / 2.0, 1.0);
    EXPECT_NEAR(r.top + r.height() / 2.0, 100 + 701 / 2.0, 1.0);

    CNoticeBoxWnd alone("text", "Notice by App", NoticeIcon::kError);
    ASSERT_TRUE(alone.open(nullptr));
    const Rect area = alone.work_area();
    EXPECT_NEAR(alone.rect().left + alone.rect().width() / 2.0, area.left + area.width() / 2.0,
                1.0);
    EXPECT_NEAR(alone.rect().top + alone.rect().height() / 2.0, area.top + area.height() / 2.0,
                1.0);
}

TEST(NoticeBox, TheIconIsDrawnInItsColourAndLeftOutForNone) {
    CNoticeBoxWnd error("text", "Notice by App", NoticeIcon::kError);
    ASSERT_TRUE(error.open(nullptr));
    error.paint_now();
    const Rect badge = error.manager().find_control("notice_icon")->pos();
    // Just inside the disc's top, above the sign.
    const Color near_top = error.canvas().pixel(badge.left + badge.width() / 2, badge.top + 3);
    EXPECT_EQ(near_top, CNoticeIconUI::disc_color(NoticeIcon::kError));
    // The corner of the badge's square is outside the disc: the panel shows.
    EXPECT_EQ(error.canvas().pixel(badge.left, badge.top), Color::from_argb(0xFF16161B));

    CNoticeBoxWnd plain("text", "Notice by App", NoticeIcon::kNone);
    ASSERT_TRUE(plain.open(nullptr));
    plain.paint_now();
    EXPECT_FALSE(plain.manager().find_control("notice_icon")->visible());
    EXPECT_GT(plain.manager().find_control("notice_text")->pos().width(),
              error.manager().find_control("notice_text")->pos().width());
}

TEST(NoticeBox, TheFrameIsTheAccentLine) {
    CNoticeBoxWnd box("text", "Notice by App", NoticeIcon::kNone);
    ASSERT_TRUE(box.open(nullptr));
    box.paint_now();
    const Color accent = Color::from_argb(0xFFFF3C3C);
    const int w = box.rect().width();
    const int h = box.rect().height();
    for (Point p : {Point{0, 0}, Point{w - 1, 0}, Point{0, h - 1}, Point{w - 1, h - 1},
                    Point{w / 2, h - 1}, Point{0, h / 2}}) {
        EXPECT_EQ(box.canvas().pixel(p.x, p.y), accent) << p.x << "," << p.y;
    }
    EXPECT_NE(box.canvas().pixel(1, h / 2), accent);
}

}  // namespace
}  // namespace talvoro::ui
