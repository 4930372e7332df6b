// The rule that keeps a profile usable: one button at least stays on Left Click. The button page
// enforces it on every choice, and a profile file that breaks it is not loaded.
#pragma once

#include "store/profile_store.h"

namespace talvoro {

// Whether some button of `profile` holds Left Click.
bool holds_left_click(const ProfileBlock& profile);
// Whether `button` (0..10) is the only button of `profile` on Left Click.
bool is_last_left_click(const ProfileBlock& profile, int button);

}  // namespace talvoro
