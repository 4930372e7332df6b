// The support page: the product's logo, the update and link buttons and the captions above
// the two addresses.
#include "render/text_renderer.h"
#include "skin_palette.h"
#include "skin_pictures.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

constexpr int kLogoWidth = 300;
constexpr int kLogoHeight = 80;
constexpr int kButtonWidth = 200;
constexpr int kButtonHeight = 28;
constexpr int kCaptionWidth = 620;
constexpr int kCaptionHeight = 20;

// The title row's mark at a larger size, the product's name and the program's subtitle.
void draw_logo(Canvas& canvas, CaptionLog& log, const Captions& captions) {
    draw_brand_mark(canvas, 0, 34, 40);
    const ui::FontStyle wordmark{"Verdana", 30, true};
    log.draw(canvas, Rect{60, 10, kLogoWidth, 48}, captions.product, wordmark, kTextColor,
             ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    log.draw(canvas, Rect{62, 50, kLogoWidth, 70}, captions.product_subtitle, captions.small_font,
             kSecondaryTextColor, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
}

}  // namespace

void add_support_pictures(const Captions& captions, PictureSet& pictures) {
    CaptionLog& log = pictures.captions();
    draw_logo(pictures.add("Support_logo.png", kLogoWidth, kLogoHeight), log, captions);

    const struct {
        const char* name;
        const std::string& caption;
        Icon icon;
    } kButtons[] = {
        {"update_app_btn.png", captions.update_app, Icon::kDownload},
        {"update_fw_btn.png", captions.update_fw, Icon::kDownload},
        {"link_website_btn.png", captions.open_website, Icon::kLink},
        {"link_socialnetwork_btn.png", captions.open_social_network, Icon::kLink},
    };
    for (const auto& button : kButtons) {
        draw_button_states(pictures.add(button.name, kButtonWidth, kButtonHeight * 4), log,
                           kButtonWidth, kButtonHeight, button.caption, captions.small_font,
                           ButtonStyle::kOutline, button.icon);
    }

    Canvas& headings = pictures.add("SupportCaptions.png", kCaptionWidth, kCaptionHeight * 2);
    draw_heading(headings, log, cell(kCaptionWidth, kCaptionHeight, 0, 0), captions.website,
                 captions.small_font);
    draw_heading(headings, log, cell(kCaptionWidth, kCaptionHeight, 0, 1), captions.social_network,
                 captions.small_font);
}

}  // namespace talvoro::skins
