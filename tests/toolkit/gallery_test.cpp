// The gallery: a layout with every control kind and attribute the program's
// layouts use, in English and Chinese, built by the real builder and drawn
// by the real painting layer. The drawing is compared with a reference
// picture within a tolerance and left in build/bin/gallery.png for anyone to
// look at. TALVORO_UPDATE_REFERENCE=1 rewrites the reference after a
// deliberate change of the look.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/combo.h"
#include "core/dialog_builder.h"
#include "core/menu.h"
#include "core/paint_manager.h"
#include "render/canvas.h"
#include "render/png_writer.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

const std::string kGalleryFolder = TALVORO_GALLERY_DIR;

// The pictures the gallery names, drawn here so the repository keeps their
// source, not their pixels.
void draw_pictures(const std::string& folder) {
    Canvas button(96, 64);
    button.fill_rect({0, 0, 96, 32}, Color{255, 0xFF, 0x3C, 0x3C});
    button.fill_rect({0, 32, 96, 64}, Color{255, 0x3C, 0x3C, 0x3C});
    button.draw_border({0, 0, 96, 32}, Color{255, 0xFF, 0x80, 0x80}, 1);
    ASSERT_TRUE(write_png(button.image(), folder + "/button.png"));

    Canvas thumb(12, 20);
    thumb.fill_rect({0, 0, 12, 20}, Color{255, 0xFF, 0xFF, 0xFF});
    thumb.draw_border({0, 0, 12, 20}, Color{255, 0xFF, 0x3C, 0x3C}, 2);
    ASSERT_TRUE(write_png(thumb.image(), folder + "/thumb.png"));

    // Magenta is the colour key: those pixels are holes.
    Canvas stripe(40, 8);
    stripe.fill_rect({0, 0, 40, 8}, Color{255, 0xFF, 0x00, 0xFF});
    stripe.fill_rect({0, 2, 40, 6}, Color{255, 0xFF, 0x3C, 0x3C});
    ASSERT_TRUE(write_png(stripe.image(), folder + "/stripe.png"));
}

// Share of pixels whose channels all lie within `tolerance` of the reference.
double matching_share(const Image& drawn, const Image& reference, int tolerance) {
    if (drawn.width() != reference.width() || drawn.height() != reference.height())
        return 0;
    size_t matching = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const Color a = drawn.pixel(x, y);
            const Color b = reference.pixel(x, y);
            if (std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
                std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance) {
                ++matching;
            }
        }
    }
    return static_cast<double>(matching) / (static_cast<double>(drawn.width()) * drawn.height());
}

TEST(Gallery, DrawsEveryControlLikeTheReference) {
    test::TempFolder skin;
    draw_pictures(skin.path());

    CPaintManagerUI manager;
    manager.image_cache().set_base_folder(skin.path());
    CDialogBuilder builder;
    auto root = builder.create_from_file(kGalleryFolder + "/gallery.xml", nullptr, &manager);
    ASSERT_NE(root, nullptr);
    manager.set_root(std::move(root));
    manager.set_client_size(Size{800, 560});
    for (const char* name : {"title", "label_html", "button_normal", "option_a", "slider", "edit",
                             "combo", "tabs", "list", "float_label", "label_zh_cn"}) {
        EXPECT_NE(manager.find_control(name), nullptr) << name << " was not built";
    }

    auto* combo = dynamic_cast<CComboUI*>(manager.find_control("combo"));
    ASSERT_NE(combo, nullptr);
    combo->select_item(1, false);

    // A popup menu with a separator and an open submenu, over the empty
    // lower right, as the button page shows its function menu.
    auto menu = CMenuUI::load(R"(<Menu width="170" bkcolor="#FF202020" font="0">
        <MenuElement text="Left Click" command="2001"/>
        <MenuElement text="左鍵 / 左键" command="2002"/>
        <MenuElement separator="true"/>
        <MenuElement text="Macro >>" command="0">
          <MenuElement text="Macro_1" command="2101"/>
          <MenuElement text="宏 2" command="2102"/>
        </MenuElement>
      </Menu>)");
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(CMenuUI::show(manager, std::move(menu), Point{420, 390}, 1999), nullptr);
    Canvas canvas(800, 560);
    manager.paint(canvas);
    ASSERT_GE(manager.overlay_count(), 1u);
    const Rect menu_rect = manager.overlay(0)->pos();
    // Hover the last entry to open its submenu.
    manager.mouse_move(menu_rect.left + 20, menu_rect.bottom - 8);
    EXPECT_EQ(manager.overlay_count(), 2u) << "the submenu opened on hover";
    EXPECT_FALSE(manager.paint(canvas).empty());
    const std::string drawn = test::built_program("gallery.png");
    ASSERT_TRUE(write_png(canvas.image(), drawn));

    const std::string reference_path = kGalleryFolder + "/gallery_reference.png";
    if (const char* update = std::getenv("TALVORO_UPDATE_REFERENCE"); update && *update == '1') {
        ASSERT_TRUE(write_png(canvas.image(), reference_path));
    }
    const auto reference = read_png(reference_path);
    ASSERT_TRUE(reference) << "no reference picture; run with TALVORO_UPDATE_REFERENCE=1";
    // Font hinting may move a few edge pixels between library versions.
    EXPECT_GE(matching_share(canvas.image(), *reference, 24), 0.995)
        << "the gallery no longer looks like " << reference_path << "; see " << drawn;
}

}  // namespace
}  // namespace talvoro::ui
