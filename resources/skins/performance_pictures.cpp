// The performance page: the captions of its rows and its exclusive options.
#include "render/text_renderer.h"
#include "skin_palette.h"
#include "skin_pictures.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

constexpr int kCaptionWidth = 300;
constexpr int kCaptionHeight = 24;
constexpr int kOptionWidth = 110;
constexpr int kOptionHeight = 24;

}  // namespace

void add_performance_pictures(const Captions& captions, PictureSet& pictures) {
    CaptionLog& log = pictures.captions();
    const int rows = static_cast<int>(captions.performance_captions.size());
    Canvas& texts = pictures.add("PerformanceCaptions.png", kCaptionWidth, kCaptionHeight * rows);
    for (int row = 0; row < rows; ++row) {
        log.draw(texts, cell(kCaptionWidth, kCaptionHeight, 0, row),
                 captions.performance_captions[row], captions.font, kTextColor,
                 ui::kTextLeft | ui::kTextVCenter | ui::kTextSingleLine);
    }
    const int columns = static_cast<int>(captions.performance_options.size());
    Canvas& options =
        pictures.add("PerformanceOptions.png", kOptionWidth * columns, kOptionHeight * 3);
    for (int column = 0; column < columns; ++column) {
        for (size_t row = 0; row < kOptionStates.size(); ++row) {
            draw_chip(
                options, log, cell(kOptionWidth, kOptionHeight, column, static_cast<int>(row)),
                captions.performance_options[column], captions.small_font, kOptionStates[row]);
        }
    }
}

}  // namespace talvoro::skins
