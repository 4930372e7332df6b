// A terminal takes the bytes as they are; its locale decides how to show them.
#include "console_output.h"

namespace talvoro {

void use_utf8_console_output() {}

}  // namespace talvoro
