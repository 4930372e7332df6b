// Draws every skin picture of the four language folders into OUTPUT_DIR.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "bmp_writer.h"
#include "captions.h"
#include "render/png_writer.h"
#include "render/text_renderer.h"
#include "skin_palette.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

// Sizes of the windows and controls the pictures fill.
constexpr int kConfirmWidth = 660;
constexpr int kConfirmHeight = 294;
constexpr int kMessageWidth = 305;
constexpr int kMessageHeight = 206;
constexpr int kPopupCaption = 30;
// The bottom band of a popup is left empty for the OK and Cancel buttons.
constexpr int kButtonBand = 70;
constexpr int kRecordHeight = 30;
constexpr int kStepIconSide = 14;
constexpr int kNameRowWidth = 318;
constexpr int kNameRowHeight = 18;

class Writer {
  public:
    explicit Writer(std::filesystem::path folder) : folder_(std::move(folder)) {}
    bool ok() const { return ok_; }

    void bmp(const Canvas& canvas, std::string_view name) {
        finish(write_bmp(canvas.image(), path(name)), name);
    }
    void png(const Canvas& canvas, std::string_view name) {
        finish(ui::write_png(canvas.image(), path(name)), name);
    }

  private:
    std::string path(std::string_view name) const { return (folder_ / name).string(); }
    void finish(bool written, std::string_view name) {
        if (written)
            return;
        std::fprintf(stderr, "talvoro_skin_maker: cannot write %s\n", path(name).c_str());
        ok_ = false;
    }

    std::filesystem::path folder_;
    bool ok_ = true;
};

Canvas make_mask() {
    Canvas canvas(kWindowWidth, kWindowHeight);
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            const bool opaque = window_shape_contains(x, y);
            canvas.clear(Rect{x, y, x + 1, y + 1},
                         opaque ? Color{255, 0, 0, 0} : Color{255, 255, 255, 255});
        }
    }
    return canvas;
}

Canvas make_mouse_picture(ButtonLook look) {
    Canvas canvas(kMousePictureWidth, kMousePictureHeight);
    draw_panel(canvas, canvas.bounds());
    draw_mouse_shell(canvas);
    for (size_t i = 0; i < kMouseButtonRects.size(); ++i)
        draw_mouse_button(canvas, i, look);
    return canvas;
}

Canvas make_question(int width, int height, const Captions& captions, std::string_view text,
                     char sign) {
    Canvas canvas(width, height);
    draw_popup_frame(canvas, captions.product, captions.font, kPopupCaption);
    const int body_bottom = height - kButtonBand;
    const double badge_radius = height > 250 ? 26.0 : 18.0;
    const double badge_x = 24 + badge_radius;
    const double badge_y = (kPopupCaption + body_bottom) / 2.0;
    draw_badge(canvas, badge_x, badge_y, badge_radius, sign);
    const Rect text_rect{static_cast<int>(badge_x + badge_radius) + 18, kPopupCaption + 8,
                         width - 20, body_bottom};
    ui::draw_text(canvas, text_rect, text, captions.font, kTextColor,
                  ui::kTextLeft | ui::kTextVCenter | ui::kTextWordBreak);
    canvas.fill_rect(Rect{20, body_bottom + 4, width - 20, body_bottom + 5}, kPanelBorderColor);
    return canvas;
}

Canvas make_record(const Captions& captions, bool lit) {
    Canvas canvas(captions.record_width, kRecordHeight);
    fill_window_background(canvas, canvas.bounds());
    draw_button(canvas, canvas.bounds(), captions.record, captions.font, lit);
    return canvas;
}

Canvas make_step_icon(StepIcon icon) {
    Canvas canvas(kStepIconSide, kStepIconSide);
    draw_step_icon(canvas, icon);
    return canvas;
}

Canvas make_name_highlight() {
    Canvas canvas(kNameRowWidth, kNameRowHeight);
    canvas.clear(kAccentDarkColor);
    canvas.fill_rect(Rect{0, kNameRowHeight - 1, kNameRowWidth, kNameRowHeight}, kAccentColor);
    return canvas;
}

bool make_folder(const std::filesystem::path& root, const Captions& captions) {
    const std::filesystem::path folder = root / captions.folder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "talvoro_skin_maker: cannot create %s: %s\n", folder.string().c_str(),
                     error.message().c_str());
        return false;
    }
    Writer out(folder);
    // The program reads the mask from the English folder only; every folder carries it so
    // that each one is a complete skin.
    out.bmp(make_mask(), "Background_mask.bmp");
    out.bmp(make_mouse_picture(ButtonLook::kNormal), "MCBox.bmp");
    out.bmp(make_mouse_picture(ButtonLook::kLit), "MCBox2.bmp");
    out.bmp(make_question(kConfirmWidth, kConfirmHeight, captions, captions.apply_question, '?'),
            "ApplySetting_Dialog.bmp");
    out.bmp(make_question(kConfirmWidth, kConfirmHeight, captions, captions.reset_question, '!'),
            "MasterReset_Dialog.bmp");
    out.bmp(make_question(kConfirmWidth, kConfirmHeight, captions, captions.exit_question, '?'),
            "ExitProgram_Dialog.bmp");
    out.bmp(make_question(kConfirmWidth, kConfirmHeight, captions, captions.device_question, '!'),
            "APDetection_Dialog.bmp");
    out.png(
        make_question(kMessageWidth, kMessageHeight, captions, captions.macro_limit_message, '!'),
        "MacroOverMax_box.png");
    out.png(
        make_question(kMessageWidth, kMessageHeight, captions, captions.repeat_range_message, '!'),
        "MacroRepeat1_99_box.png");
    out.png(make_record(captions, false), "MacroRecord1.png");
    out.png(make_record(captions, true), "MacroRecord2.png");
    out.png(make_name_highlight(), "MacroName_hot.png");
    out.bmp(make_step_icon(StepIcon::kTimer), "MacroSignTimer.bmp");
    out.bmp(make_step_icon(StepIcon::kKeyDown), "MacroSignDown.bmp");
    out.bmp(make_step_icon(StepIcon::kKeyUp), "MacroSignUp.bmp");
    out.bmp(make_step_icon(StepIcon::kMouse), "MacroSignMouse2.bmp");
    return out.ok();
}

}  // namespace
}  // namespace talvoro::skins

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: talvoro_skin_maker OUTPUT_DIR\n");
        return 2;
    }
    bool ok = true;
    for (const auto& captions : talvoro::skins::all_captions()) {
        ok = talvoro::skins::make_folder(argv[1], captions) && ok;
    }
    return ok ? 0 : 1;
}
