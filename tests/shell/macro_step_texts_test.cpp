// How the macro step list words steps in the four languages: recognised mouse labels in any
// case, the suffixes of presses, releases and delays, and the steps that are not listed.
#include "shell/language/macro_step_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/macro_steps.h"

namespace talvoro::shell {
namespace {

TEST(MacroStepTexts, StepTextsInEveryLanguage) {
    MacroStep mouse{};
    std::strcpy(mouse.kind, "m");
    std::strcpy(mouse.text, "scroll wheel click");  // any case
    std::strcpy(mouse.action, "down");
    EXPECT_EQ(step_display_text(mouse, 0), "Scroll Wheel Click Down ");
    EXPECT_EQ(step_display_text(mouse, 3), "Mausrad-Taste    Runter   ");
    std::strcpy(mouse.text, "左鍵   ");  // stored in Traditional Chinese
    std::strcpy(mouse.action, "up");
    EXPECT_EQ(step_display_text(mouse, 2), "左键    向上   ");
    EXPECT_EQ(step_display_text(mouse, 0), "Left Click         Up   ");
    std::strcpy(mouse.text, "Middle Click   ");  // not a label: shown as it is
    EXPECT_EQ(step_display_text(mouse, 1), "Middle Click    向上   ");
    EXPECT_EQ(step_display_text(mouse, 9), "Middle Click    Up   ");  // unknown language

    MacroStep other{};
    std::strcpy(other.kind, "t");
    std::strcpy(other.text, "1.500");
    EXPECT_EQ(step_display_text(other, 1), "1.500 秒延時 ");
    EXPECT_EQ(step_display_text(other, 3), "1.500 Sec einfügen   ");
    std::strcpy(other.kind, "k");
    std::strcpy(other.action, "unknown");
    EXPECT_FALSE(step_display_text(other, 0));
}

TEST(MacroStepTexts, KeysAreShownAsStoredAndGermanLabelsAreNotRecognised) {
    MacroStep key{};
    std::strcpy(key.kind, "k");
    std::strcpy(key.text, " Shift ");
    std::strcpy(key.action, "down");
    EXPECT_EQ(step_display_text(key, 3), " Shift ");

    MacroStep mouse{};
    std::strcpy(mouse.kind, "m");
    std::strcpy(mouse.text, "Linke Maustaste   ");
    std::strcpy(mouse.action, "down");
    EXPECT_EQ(step_display_text(mouse, 0), "Linke Maustaste    Down ");

    MacroStep unknown_kind{};
    std::strcpy(unknown_kind.kind, "x");
    std::strcpy(unknown_kind.action, "down");
    EXPECT_FALSE(step_display_text(unknown_kind, 0));
}

TEST(MacroStepTexts, EnglishMouseTextsAreTheStoredLabels) {
    for (int action = 0; action < kMouseActionCount; ++action) {
        EXPECT_STREQ(mouse_action_text(action, 0), stored_mouse_label(action)) << action;
    }
    EXPECT_STREQ(mouse_action_text(kMouseWheelUp, 3), "Einzeln hochscrollen   ");
    EXPECT_STREQ(mouse_action_text(kMouseActionCount, 1), "");
    EXPECT_STREQ(mouse_action_text(-1, 0), "");
    EXPECT_STREQ(step_suffix(StepSuffix::kDown, 3), " Runter   ");
    EXPECT_STREQ(step_suffix(StepSuffix::kUp, 7), " Up   ");
}

}  // namespace
}  // namespace talvoro::shell
