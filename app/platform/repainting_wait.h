// Waiting for something slow off the UI thread (another program's file chooser, a D-Bus answer)
// while the program's windows keep painting, so that they do not look frozen. Input to them is
// dropped meanwhile, as a modal dialog's owner drops it.
#pragma once
#include <functional>

namespace talvoro::platform {

// Runs `work` on a thread of its own and returns when it is done. With SDL video running, the
// UI thread serves paints meanwhile; without it, this simply waits.
void run_while_repainting(const std::function<void()>& work);

}  // namespace talvoro::platform
