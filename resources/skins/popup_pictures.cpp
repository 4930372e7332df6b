// The popups: the confirmation and message pictures with their questions, the frames of the
// key and play-option popups, and the popups' buttons.
#include "render/text_renderer.h"
#include "skin_palette.h"
#include "skin_pictures.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

// Sizes of the popup windows.
constexpr int kConfirmWidth = 660;
constexpr int kConfirmHeight = 294;
constexpr int kMessageWidth = 305;
constexpr int kMessageHeight = 206;
constexpr int kKeysWidth = 627;
constexpr int kKeysHeight = 296;
constexpr int kPlayWidth = 658;
constexpr int kPlayHeight = 294;
constexpr int kCaptionBand = 30;
constexpr int kPlayCaptionBand = 40;
// The bottom band of a popup is left empty for its buttons, under a hairline.
constexpr int kButtonBand = 76;
constexpr int kPopupButtonWidth = 130;
constexpr int kPopupButtonHeight = 36;
constexpr int kMessageButtonWidth = 100;
constexpr int kMessageButtonHeight = 32;
constexpr int kTitleWidth = 560;
constexpr int kTitleHeight = 26;

// The hairline between a popup's body and its buttons.
void draw_button_band_rule(Canvas& canvas) {
    const int y = canvas.height() - kButtonBand + 2;
    canvas.fill_rect(Rect{20, y, canvas.width() - 20, y + 1}, kPanelBorderColor);
}

void draw_question(Canvas& canvas, CaptionLog& log, const Captions& captions,
                   const std::string& text, char sign) {
    const int width = canvas.width();
    const int height = canvas.height();
    draw_popup_frame(canvas, log, captions.product, captions.font, kCaptionBand);
    const int body_bottom = height - kButtonBand;
    const double badge_radius = height > 250 ? 26.0 : 18.0;
    const double badge_x = 24 + badge_radius;
    const double badge_y = (kCaptionBand + body_bottom) / 2.0;
    draw_badge(canvas, badge_x, badge_y, badge_radius, sign);
    const Rect text_rect{static_cast<int>(badge_x + badge_radius) + 18, kCaptionBand + 8,
                         width - 20, body_bottom};
    log.draw(canvas, text_rect, text, captions.font, kTextColor,
             ui::kTextLeft | ui::kTextVCenter | ui::kTextWordBreak);
    draw_button_band_rule(canvas);
}

}  // namespace

void add_shared_popup_pictures(PictureSet& pictures) {
    // The key popup's title is the program's text.
    Canvas& keys = pictures.add("KeysPopup_frame.png", kKeysWidth, kKeysHeight);
    draw_popup_frame(keys, pictures.captions(), "", ui::FontStyle{}, kCaptionBand);
    keys.fill_rect(Rect{14, 9, 17, 21}, kAccentColor);  // beside the program's title
    draw_button_band_rule(keys);
}

void add_popup_pictures(const Captions& captions, PictureSet& pictures) {
    CaptionLog& log = pictures.captions();
    const struct {
        const char* name;
        int width;
        int height;
        const std::string& text;
        char sign;
    } kQuestions[] = {
        {"ApplySetting_Dialog.bmp", kConfirmWidth, kConfirmHeight, captions.apply_question, '?'},
        {"MasterReset_Dialog.bmp", kConfirmWidth, kConfirmHeight, captions.reset_question, '!'},
        {"ExitProgram_Dialog.bmp", kConfirmWidth, kConfirmHeight, captions.exit_question, '?'},
        {"APDetection_Dialog.bmp", kConfirmWidth, kConfirmHeight, captions.device_question, '!'},
        {"MacroOverMax_box.png", kMessageWidth, kMessageHeight, captions.macro_limit_message, '!'},
        {"MacroRepeat1_99_box.png", kMessageWidth, kMessageHeight, captions.repeat_range_message,
         '!'},
    };
    for (const auto& question : kQuestions) {
        draw_question(pictures.add(question.name, question.width, question.height), log, captions,
                      question.text, question.sign);
    }

    // The play-option popup has its own title picture.
    Canvas& play = pictures.add("MacroPlayOption_frame.png", kPlayWidth, kPlayHeight);
    draw_popup_frame(play, log, "", captions.font, kPlayCaptionBand);
    // Above the play mode combo.
    log.draw(play, Rect{60, 56, 480, 78}, captions.play_mode, captions.small_font,
             kSecondaryTextColor, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    draw_button_band_rule(play);
    ui::FontStyle title = captions.font;
    title.bold = true;
    draw_heading(pictures.add("MacroPlayOption_title.png", kTitleWidth, kTitleHeight), log,
                 Rect{0, 0, kTitleWidth, kTitleHeight}, captions.play_option_title, title);

    draw_button_states(pictures.add("Popup_OK_btn.png", kPopupButtonWidth, kPopupButtonHeight * 4),
                       log, kPopupButtonWidth, kPopupButtonHeight, captions.ok, captions.font,
                       ButtonStyle::kAccent);
    draw_button_states(
        pictures.add("Popup_Cancel_btn.png", kPopupButtonWidth, kPopupButtonHeight * 4), log,
        kPopupButtonWidth, kPopupButtonHeight, captions.cancel, captions.font,
        ButtonStyle::kOutline);
    draw_button_states(
        pictures.add("Msgbox_OK_btn.png", kMessageButtonWidth, kMessageButtonHeight * 4), log,
        kMessageButtonWidth, kMessageButtonHeight, captions.ok, captions.font,
        ButtonStyle::kAccent);
}

}  // namespace talvoro::skins
