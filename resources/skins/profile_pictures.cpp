// The profile block shared by the main control and performance pages: five profile tabs,
// their in-use switches and the Load, Save, Cancel and Apply buttons.
#include <string>

#include "skin_pictures.h"
#include "skin_shapes.h"

namespace talvoro::skins {
namespace {

constexpr int kProfiles = 5;
constexpr int kTabWidth = 104;
constexpr int kTabHeight = 30;
constexpr int kSwitchWidth = 104;
constexpr int kSwitchHeight = 20;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 26;

}  // namespace

void add_profile_pictures(const Captions& captions, PictureSet& pictures) {
    CaptionLog& log = pictures.captions();
    Canvas& tabs = pictures.add("ProfileTabs.png", kTabWidth * kProfiles, kTabHeight * 3);
    for (int column = 0; column < kProfiles; ++column) {
        const std::string caption = captions.profile + std::to_string(column + 1);
        for (size_t row = 0; row < kOptionStates.size(); ++row) {
            draw_chip(tabs, log, cell(kTabWidth, kTabHeight, column, static_cast<int>(row)),
                      caption, captions.font, kOptionStates[row]);
        }
    }

    // Rows: not in use, in use, and the pointer over a switch that is not in use.
    Canvas& in_use = pictures.add("InUseSwitch.png", kSwitchWidth, kSwitchHeight * 3);
    const State rows[] = {State::kNormal, State::kSelected, State::kHot};
    for (int row = 0; row < 3; ++row) {
        draw_switch_option(in_use, log, cell(kSwitchWidth, kSwitchHeight, 0, row), captions.in_use,
                           captions.small_font, rows[row]);
    }

    Canvas& buttons = pictures.add("ProfileButtons.png", kButtonWidth * 4, kButtonHeight * 4);
    for (int column = 0; column < 4; ++column) {
        // Apply is the one filled accent button of the block.
        const ButtonStyle style = column == 3 ? ButtonStyle::kAccent : ButtonStyle::kOutline;
        draw_button_states(buttons, log, kButtonWidth, kButtonHeight,
                           captions.profile_buttons[column], captions.small_font, style,
                           Icon::kNone, column);
    }
}

}  // namespace talvoro::skins
