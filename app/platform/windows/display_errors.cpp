// Windows has no asynchronous display errors: a message to a window that is gone is simply not
// delivered.
#include "platform/display_errors.h"

namespace talvoro::platform {

void tolerate_events_to_gone_windows() {}

}  // namespace talvoro::platform
