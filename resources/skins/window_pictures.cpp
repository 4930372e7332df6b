// The main window's own pictures: its shape and background, the title row, the tabs and the
// bottom row's buttons.
#include "render/text_renderer.h"
#include "skin_palette.h"
#include "skin_pictures.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

constexpr int kLogoWidth = 360;
constexpr int kLogoHeight = 24;
constexpr int kLedWidth = 72;
constexpr int kLedHeight = 18;
constexpr int kTabWidth = 160;
constexpr int kTabHeight = 39;
constexpr int kSmallButton = 22;
constexpr int kLanguageButton = 24;
constexpr int kComboArrowWidth = 12;
constexpr int kComboArrowHeight = 24;
constexpr int kBottomButtonWidth = 160;
constexpr int kBottomButtonHeight = 32;

// Whether physical pixel (x, y) of `canvas` lies in the window's shape.
bool in_window_shape(const Canvas& canvas, int x, int y) {
    const double scale = canvas.scale().factor();
    return window_shape_contains_at((x + 0.5) / scale, (y + 0.5) / scale);
}

// The mask: black where the window is opaque, white where it is cut away; at the picture's own
// resolution, so a finer mask cuts the window's corners as finely as the background draws them.
void draw_mask(Canvas& canvas) {
    canvas.clear(Color{255, 255, 255, 255});
    const ui::Image& pixels = canvas.image();
    for (int y = 0; y < pixels.height(); ++y) {
        int run = -1;
        for (int x = 0; x <= pixels.width(); ++x) {
            const bool opaque = x < pixels.width() && in_window_shape(canvas, x, y);
            if (opaque && run < 0) {
                run = x;
            } else if (!opaque && run >= 0) {
                canvas.fill_physical(Rect{run, y, x, y + 1}, Color{255, 0, 0, 0});
                run = -1;
            }
        }
    }
}

// The vignetted window colour with a hairline, one physical pixel wide, along the window's edge,
// chamfers included.
void draw_background(Canvas& canvas) {
    fill_window_background(canvas, canvas.bounds());
    const ui::Image& pixels = canvas.image();
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            if (!in_window_shape(canvas, x, y)) {
                continue;
            }
            const bool edge =
                !in_window_shape(canvas, x - 1, y) || !in_window_shape(canvas, x + 1, y) ||
                !in_window_shape(canvas, x, y - 1) || !in_window_shape(canvas, x, y + 1);
            if (edge) {
                canvas.blend_physical(x, y, kPanelBorderColor);
            }
        }
    }
}

// The product's mark and name, then the program's subtitle in the language.
void draw_logo(Canvas& canvas, CaptionLog& captions, const Captions& text) {
    draw_brand_mark(canvas, 0, kLogoHeight / 2.0, 18);
    const ui::FontStyle wordmark{"Verdana", 18, true};
    const int name_width = ui::measure_text(text.product, wordmark).width;
    captions.draw(canvas, Rect{30, 0, 30 + name_width + 2, kLogoHeight}, text.product, wordmark,
                  kTextColor, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    const int rule = 30 + name_width + 12;
    canvas.fill_rect(Rect{rule, 6, rule + 1, kLogoHeight - 6}, kControlEdgeColor);
    captions.draw(canvas, Rect{rule + 12, 0, kLogoWidth, kLogoHeight}, text.product_subtitle,
                  text.small_font, kSecondaryTextColor,
                  ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
}

void draw_combo_arrow(Canvas& canvas) {
    const double cx = kComboArrowWidth / 2.0;
    const double cy = kComboArrowHeight / 2.0;
    draw_segment(canvas, {cx - 4, cy - 2}, {cx, cy + 2}, 1.5, kSecondaryTextColor);
    draw_segment(canvas, {cx, cy + 2}, {cx + 4, cy - 2}, 1.5, kSecondaryTextColor);
}

}  // namespace

void add_shared_window_pictures(PictureSet& pictures) {
    draw_mask(pictures.add("Background_mask.bmp", kWindowWidth, kWindowHeight));
    // Only the title and bottom rows of the background show: the pages cover the rest. Two
    // strips, rather than the whole window, keep the program's first frame from decoding
    // pixels nobody sees.
    ui::Canvas background;
    background.resize(kWindowWidth, kWindowHeight, pictures.scale());
    draw_background(background);
    const struct {
        const char* name;
        int top;
        int bottom;
    } strips[] = {{"Background_top.png", 0, kPageTop},
                  {"Background_bottom.png", kPageBottom, kWindowHeight}};
    for (const auto& strip : strips) {
        ui::Canvas& part = pictures.add(strip.name, kWindowWidth, strip.bottom - strip.top);
        part.blit(background.image(),
                  background.scale().to_physical(Rect{0, strip.top, kWindowWidth, strip.bottom}),
                  Rect{0, 0, kWindowWidth, strip.bottom - strip.top});
    }
    Canvas& close = pictures.add("CloseButton.png", kSmallButton, kSmallButton * 4);
    Canvas& language = pictures.add("Language_icon.png", kLanguageButton, kLanguageButton * 4);
    for (size_t row = 0; row < kButtonStates.size(); ++row) {
        const int r = static_cast<int>(row);
        draw_icon_button(close, cell(kSmallButton, kSmallButton, 0, r), Icon::kClose,
                         kButtonStates[row]);
        draw_icon_button(language, cell(kLanguageButton, kLanguageButton, 0, r), Icon::kGlobe,
                         kButtonStates[row]);
    }
    draw_combo_arrow(pictures.add("ComboArrow.png", kComboArrowWidth, kComboArrowHeight));
}

void add_window_pictures(const Captions& captions, PictureSet& pictures) {
    CaptionLog& log = pictures.captions();
    draw_logo(pictures.add("Title_logo.png", kLogoWidth, kLogoHeight), log, captions);

    Canvas& led = pictures.add("LedSwitch.png", kLedWidth, kLedHeight * 3);
    for (size_t row = 0; row < kOptionStates.size(); ++row) {
        draw_switch_option(led, log, cell(kLedWidth, kLedHeight, 0, static_cast<int>(row)),
                           captions.led, captions.small_font, kOptionStates[row]);
    }

    Canvas& tabs = pictures.add("Tabs.png", kTabWidth * 4, kTabHeight * 3);
    for (int column = 0; column < 4; ++column) {
        for (size_t row = 0; row < kOptionStates.size(); ++row) {
            draw_tab(tabs, log, cell(kTabWidth, kTabHeight, column, static_cast<int>(row)),
                     captions.tabs[column], captions.font, kOptionStates[row]);
        }
    }

    draw_button_states(
        pictures.add("masterresetbtn.png", kBottomButtonWidth, kBottomButtonHeight * 4), log,
        kBottomButtonWidth, kBottomButtonHeight, captions.reset_all, captions.small_font,
        ButtonStyle::kOutline, Icon::kReset);
    draw_button_states(pictures.add("quitbtn.png", kBottomButtonWidth, kBottomButtonHeight * 4),
                       log, kBottomButtonWidth, kBottomButtonHeight, captions.quit,
                       captions.small_font, ButtonStyle::kOutline, Icon::kPower);
}

}  // namespace talvoro::skins
