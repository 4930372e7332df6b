// The main control page: the mouse, the names of its buttons, the function fields, the
// resolution levels with their sliders and step buttons.
#include <string>

#include "mouse_picture.h"
#include "render/text_renderer.h"
#include "skin_palette.h"
#include "skin_pictures.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

constexpr int kNameWidth = 220;
constexpr int kNameHeight = 18;
constexpr int kFieldWidth = 220;
constexpr int kFieldHeight = 22;
constexpr int kLevelWidth = 228;
constexpr int kLevelHeight = 18;
constexpr int kStepWidth = 18;
constexpr int kStepHeight = 20;
// Slider parts: the track and its filled part are stretched along the slider, so they are
// uniform along it; the thumb keeps its size.
constexpr int kTrackLength = 8;
constexpr int kSliderHeight = 18;
constexpr int kThumbWidth = 10;

// The field's look over the black the program gives it: a chevron for its menu, and while
// the pointer is over it or it is pressed, a lighter face with the accent bar.
void draw_function_field(Canvas& canvas, const Rect& rect, State state) {
    Color chevron = kSecondaryTextColor;
    if (state != State::kNormal) {
        canvas.fill_rect(rect, state == State::kPushed ? kAccentDarkColor : kControlHotColor);
        canvas.fill_rect(Rect{rect.left, rect.top, rect.left + 3, rect.bottom}, kAccentColor);
        chevron = kAccentColor;
    }
    const double cx = rect.right - 14.5;
    const double cy = (rect.top + rect.bottom) / 2.0;
    draw_segment(canvas, {cx - 3.5, cy - 1.5}, {cx, cy + 2}, 1.4, chevron);
    draw_segment(canvas, {cx, cy + 2}, {cx + 3.5, cy - 1.5}, 1.4, chevron);
}

void draw_slider_bar(Canvas& canvas, Color color) {
    canvas.fill_rect(Rect{0, kSliderHeight / 2 - 1, kTrackLength, kSliderHeight / 2 + 1}, color);
}

void draw_thumb(Canvas& canvas, int column, State state) {
    const Rect box = cell(kThumbWidth, kSliderHeight, column, 0);
    const Rect body{box.left + 1, box.top + 2, box.right - 1, box.bottom - 2};
    Color face = Color::from_argb(0xFFC9C9D1);
    if (state == State::kHot) {
        face = kTextColor;
    } else if (state == State::kPushed) {
        face = kAccentColor;
    }
    fill_round_rect(canvas, inset(body, -1), 4, kPanelColor);
    fill_round_rect(canvas, body, 3, face);
}

// The button's number in the accent, then its name.
void draw_button_name(Canvas& canvas, CaptionLog& log, const Rect& row, int number,
                      const std::string& name, const Captions& captions) {
    const ui::FontStyle digits{"Verdana", 12, true};
    log.draw(canvas, Rect{row.left, row.top, row.left + 18, row.bottom}, std::to_string(number),
             digits, kAccentColor, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    log.draw(canvas, Rect{row.left + 20, row.top, row.right, row.bottom}, name, captions.small_font,
             kSecondaryTextColor, ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
}

// "DPI level N" followed by a hairline to the end of the column.
void draw_level_caption(Canvas& canvas, CaptionLog& log, const Rect& row,
                        const std::string& caption, const Captions& captions) {
    const int width = ui::measure_text(caption, captions.small_font).width;
    log.draw(canvas, row, caption, captions.small_font, kTextColor,
             ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    const int mid = (row.top + row.bottom) / 2;
    if (row.left + width + 10 < row.right) {
        canvas.fill_rect(Rect{row.left + width + 10, mid, row.right, mid + 1}, kPanelBorderColor);
    }
}

}  // namespace

void add_shared_main_control_pictures(PictureSet& pictures) {
    pictures.add("MCBox.bmp", draw_mouse_picture(ButtonLook::kNormal, pictures.scale()));
    pictures.add("MCBox2.bmp", draw_mouse_picture(ButtonLook::kLit, pictures.scale()));

    Canvas& field = pictures.add("FunctionField.png", kFieldWidth, kFieldHeight * 3);
    const State field_states[] = {State::kNormal, State::kHot, State::kPushed};
    for (int row = 0; row < 3; ++row) {
        draw_function_field(field, cell(kFieldWidth, kFieldHeight, 0, row), field_states[row]);
    }

    draw_slider_bar(pictures.add("Slider_track.png", kTrackLength, kSliderHeight),
                    kControlEdgeColor);
    draw_slider_bar(pictures.add("Slider_fill.png", kTrackLength, kSliderHeight), kAccentColor);
    Canvas& thumb = pictures.add("Slider_thumb.png", kThumbWidth * 3, kSliderHeight);
    draw_thumb(thumb, 0, State::kNormal);
    draw_thumb(thumb, 1, State::kHot);
    draw_thumb(thumb, 2, State::kPushed);

    Canvas& down = pictures.add("StepDown.png", kStepWidth, kStepHeight * 4);
    Canvas& up = pictures.add("StepUp.png", kStepWidth, kStepHeight * 4);
    for (size_t row = 0; row < kButtonStates.size(); ++row) {
        const Rect box = cell(kStepWidth, kStepHeight, 0, static_cast<int>(row));
        draw_icon_button(down, box, Icon::kMinus, kButtonStates[row], ButtonStyle::kOutline);
        draw_icon_button(up, box, Icon::kPlus, kButtonStates[row], ButtonStyle::kOutline);
    }
}

void add_main_control_pictures(const Captions& captions, PictureSet& pictures) {
    CaptionLog& log = pictures.captions();
    Canvas& names = pictures.add("ButtonNames.png", kNameWidth,
                                 kNameHeight * static_cast<int>(captions.button_names.size()));
    for (size_t i = 0; i < captions.button_names.size(); ++i) {
        draw_button_name(names, log, cell(kNameWidth, kNameHeight, 0, static_cast<int>(i)),
                         static_cast<int>(i) + 1, captions.button_names[i], captions);
    }
    Canvas& levels = pictures.add("LaserLevels.png", kLevelWidth, kLevelHeight * 4);
    for (int level = 0; level < 4; ++level) {
        draw_level_caption(levels, log, cell(kLevelWidth, kLevelHeight, 0, level),
                           captions.dpi_level + std::to_string(level + 1), captions);
    }
}

}  // namespace talvoro::skins
