#include "shell/language/macro_step_texts.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "shell/language/language.h"
#include "store/macro_steps.h"
#include "store/store_text.h"

namespace talvoro::shell {
namespace {

// Every language-dependent text of the step list, one entry per language.
struct StepTexts {
    std::array<const char*, kMouseActionCount> mouse;
    const char* down_suffix;
    const char* up_suffix;
    const char* delay_suffix;
};

constexpr std::array<StepTexts, 4> kStepTexts = {{
    // English: a mouse step is shown with the very label it stores.
    {kStoredMouseLabels, " Down ", " Up   ", " Sec Delay "},
    // Traditional Chinese
    {{"左鍵   ", "右鍵   ", "滾輪鍵  ", "下一頁按鍵   ", "上一頁按鍵   ", "向上捲動滾輪鍵  ",
      "向下捲動滾輪鍵  "},
     " 向下   ",
     " 向上   ",
     " 秒延時 "},
    // Simplified Chinese
    {{"左键   ", "右键   ", "滚轮键  ", "下一页按键   ", "上一页按键   ", "向上卷动滚轮键  ",
      "向下卷动滚轮键  "},
     " 向下   ",
     " 向上   ",
     " 秒延时 "},
    // German
    {{"Linke Maustaste   ", "Rechte Maustaste   ", "Mausrad-Taste   ", "Browser vor   ",
      "Browser zurück   ", "Einzeln hochscrollen   ", "Einzeln runterscrollen   "},
     " Runter   ",
     " Hoch   ",
     " Sec einfügen   "},
}};

// A step's text may carry an English or a Chinese label (the first three languages); a German
// one is shown as it is stored.
constexpr int kRecognisedLabelLanguages = 3;

const StepTexts& texts_of(int language) {
    return kStepTexts[static_cast<size_t>(known_language(language))];
}

// The mouse action whose recognised label a step's text is, or -1.
int mouse_action_of(std::string_view text) {
    for (int action = 0; action < kMouseActionCount; ++action) {
        for (int language = 0; language < kRecognisedLabelLanguages; ++language) {
            if (equals_ignoring_case(text, texts_of(language).mouse[static_cast<size_t>(action)])) {
                return action;
            }
        }
    }
    return -1;
}

}  // namespace

const char* step_suffix(StepSuffix suffix, int language) {
    const StepTexts& texts = texts_of(language);
    switch (suffix) {
        case StepSuffix::kDown:
            return texts.down_suffix;
        case StepSuffix::kUp:
            return texts.up_suffix;
        case StepSuffix::kDelay:
            return texts.delay_suffix;
    }
    return "";
}

const char* mouse_action_text(int action, int language) {
    if (action < 0 || action >= kMouseActionCount) {
        return "";
    }
    return texts_of(language).mouse[static_cast<size_t>(action)];
}

std::optional<std::string> step_display_text(const MacroStep& step, int language) {
    if (!is_listed_step(step)) {
        return std::nullopt;
    }
    const std::string_view kind = field_text(step.kind);
    const std::string_view text = field_text(step.text);
    if (kind == "t") {
        return std::string(text) + step_suffix(StepSuffix::kDelay, language);
    }
    if (kind == "k") {
        return std::string(text);
    }
    const int action = mouse_action_of(text);
    std::string shown = action < 0 ? std::string(text) : mouse_action_text(action, language);
    const bool down = field_text(step.action) == "down";
    return shown + step_suffix(down ? StepSuffix::kDown : StepSuffix::kUp, language);
}

}  // namespace talvoro::shell
