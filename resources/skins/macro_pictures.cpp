// The macro page: list captions, the macro and step buttons, recording, the delay options,
// and the step icons and row decoration the program puts into its lists.
#include <string>

#include "render/text_renderer.h"
#include "skin_palette.h"
#include "skin_pictures.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

constexpr int kCaptionWidth = 340;
constexpr int kCaptionHeight = 20;
constexpr int kListButtonWidth = 116;
constexpr int kFileButtonWidth = 176;
constexpr int kListButtonHeight = 26;
constexpr int kRecordHeight = 24;
constexpr int kStopWidth = 114;
constexpr int kOptionWidth = 205;
constexpr int kOptionHeight = 18;
constexpr int kStepButtonWidth = 169;
constexpr int kStepButtonHeight = 22;
constexpr int kStepIconSide = 14;
constexpr int kNameRowWidth = 318;
constexpr int kNameRowHeight = 18;

// The record button is shown with pure white as its transparent colour; its white parts are
// kept a shade off white so that they stay.
void keep_off_mask_colour(Canvas& canvas) {
    const Color near_white{255, 0xF4, 0xF4, 0xF6};
    const int width = canvas.image().width();
    const int height = canvas.image().height();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Color c = canvas.pixel(x, y);
            if (c.r == 255 && c.g == 255 && c.b == 255) {
                canvas.blend_physical(x, y, Color{c.a, near_white.r, near_white.g, near_white.b});
            }
        }
    }
}

// One picture per state, as the delay buttons take them: "<stem>_normal.png" and so on.
void add_state_pictures(PictureSet& pictures, const std::string& stem, int width,
                        const std::string& caption, const ui::FontStyle& font, Icon icon) {
    const char* const kSuffixes[] = {"_normal.png", "_hot.png", "_pushed.png", "_disabled.png"};
    for (size_t row = 0; row < kButtonStates.size(); ++row) {
        Canvas& canvas = pictures.add(stem + kSuffixes[row], width, kStepButtonHeight);
        draw_button(canvas, pictures.captions(), canvas.bounds(), caption, font,
                    ButtonStyle::kOutline, kButtonStates[row], icon);
    }
}

}  // namespace

void add_shared_macro_pictures(PictureSet& pictures) {
    // Beside every macro name: a hairline under the row, so that the list reads as a table
    // while the list's own hot and selected colours show through.
    Canvas& row = pictures.add("MacroName_hot.png", kNameRowWidth, kNameRowHeight);
    row.fill_rect(Rect{0, kNameRowHeight - 1, kNameRowWidth, kNameRowHeight}, kPanelBorderColor);

    const std::pair<const char*, StepIcon> kIcons[] = {{"MacroSignTimer.bmp", StepIcon::kTimer},
                                                       {"MacroSignDown.bmp", StepIcon::kKeyDown},
                                                       {"MacroSignUp.bmp", StepIcon::kKeyUp},
                                                       {"MacroSignMouse2.bmp", StepIcon::kMouse}};
    for (const auto& [name, icon] : kIcons) {
        draw_step_icon(pictures.add(name, kStepIconSide, kStepIconSide), icon);
    }
}

void add_macro_pictures(const Captions& captions, PictureSet& pictures) {
    CaptionLog& log = pictures.captions();
    const ui::FontStyle& font = captions.small_font;
    ui::FontStyle heading = captions.font;
    heading.bold = true;
    Canvas& headings = pictures.add("MacroCaptions.png", kCaptionWidth, kCaptionHeight * 2);
    draw_heading(headings, log, cell(kCaptionWidth, kCaptionHeight, 0, 0), captions.macro_list,
                 heading);
    draw_heading(headings, log, cell(kCaptionWidth, kCaptionHeight, 0, 1), captions.macro_steps,
                 heading);

    const struct {
        const char* name;
        int width;
        const std::string& caption;
        Icon icon;
    } kListButtons[] = {
        {"macro_new_btn.png", kListButtonWidth, captions.macro_buttons[0], Icon::kPlus},
        {"macro_rename_btn.png", kListButtonWidth, captions.macro_buttons[1], Icon::kPencil},
        {"macro_delete_btn.png", kListButtonWidth, captions.macro_buttons[2], Icon::kTrash},
        {"macro_import_btn.png", kFileButtonWidth, captions.macro_buttons[3], Icon::kImport},
        {"macro_export_btn.png", kFileButtonWidth, captions.macro_buttons[4], Icon::kExport},
    };
    for (const auto& button : kListButtons) {
        draw_button_states(pictures.add(button.name, button.width, kListButtonHeight * 4), log,
                           button.width, kListButtonHeight, button.caption, font,
                           ButtonStyle::kOutline, button.icon);
    }

    // The record button blinks between its two pictures while recording.
    Canvas& record = pictures.add("MacroRecord1.png", captions.record_width, kRecordHeight);
    draw_button(record, log, record.bounds(), captions.record, font, ButtonStyle::kOutline,
                State::kNormal, Icon::kRecord);
    keep_off_mask_colour(record);
    Canvas& recording = pictures.add("MacroRecord2.png", captions.record_width, kRecordHeight);
    draw_button(recording, log, recording.bounds(), captions.record, font, ButtonStyle::kAccent,
                State::kNormal, Icon::kRecord);
    keep_off_mask_colour(recording);
    draw_button_states(pictures.add("macro_record_stop_btn.png", kStopWidth, kRecordHeight * 4),
                       log, kStopWidth, kRecordHeight, captions.stop, font, ButtonStyle::kOutline,
                       Icon::kStop);

    Canvas& ignore = pictures.add("ignore_delay_option.png", kOptionWidth, kOptionHeight * 3);
    for (size_t row = 0; row < kOptionStates.size(); ++row) {
        draw_check_option(ignore, log, cell(kOptionWidth, kOptionHeight, 0, static_cast<int>(row)),
                          captions.ignore_delay, font, kOptionStates[row]);
    }
    Canvas& fixed =
        pictures.add("insert_default_delay_option.png", kOptionWidth, kOptionHeight * 3);
    for (size_t row = 0; row < kOptionStates.size(); ++row) {
        draw_check_option(fixed, log, cell(kOptionWidth, kOptionHeight, 0, static_cast<int>(row)),
                          captions.fixed_delay, font, kOptionStates[row]);
    }

    draw_button_states(
        pictures.add("insert_mouse_event_btn.png", kStepButtonWidth, kStepButtonHeight * 4), log,
        kStepButtonWidth, kStepButtonHeight, captions.insert_mouse_event, font,
        ButtonStyle::kOutline, Icon::kMouse);
    draw_button_states(
        pictures.add("delete_mouse_event_btn.png", kStepButtonWidth, kStepButtonHeight * 4), log,
        kStepButtonWidth, kStepButtonHeight, captions.delete_step, font, ButtonStyle::kOutline,
        Icon::kTrash);
    add_state_pictures(pictures, "insert_delay_time_btn", captions.insert_delay_width,
                       captions.insert_delay, font, Icon::kClock);
    add_state_pictures(pictures, "edit_delay_time_btn", captions.edit_delay_width,
                       captions.edit_delay, font, Icon::kPencil);
}

}  // namespace talvoro::skins
