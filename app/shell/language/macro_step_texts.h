// How the macro step list words the steps in each interface language: the mouse actions, the
// words after a press, a release and a delay, and a step's whole row text. The store keeps only
// the English labels a step stores.
#pragma once

#include <optional>
#include <string>

#include "store/profile_store.h"

namespace talvoro::shell {

// The words a listed step ends with: after a press, after a release, after a delay.
enum class StepSuffix { kDown, kUp, kDelay };

// A language outside 0..3 is English.
const char* step_suffix(StepSuffix suffix, int language);
// The label of a mouse action (MouseAction) as the list shows it; "" for anything that is no
// action. The English labels are the stored ones.
const char* mouse_action_text(int action, int language);

// How a step is listed in the language, or nothing for a step that is not listed (a key or
// mouse step whose action is neither "down" nor "up", or an unknown kind).
std::optional<std::string> step_display_text(const MacroStep& step, int language);

}  // namespace talvoro::shell
