#include "platform/parent_console.h"

namespace talvoro::platform {

// A Linux program always has the standard streams it was started with.
void use_parent_console() {}

}  // namespace talvoro::platform
