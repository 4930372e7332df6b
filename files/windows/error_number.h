// The errno the Linux edition would give for a Windows error, so callers tell the person the
// same way on both systems.
#pragma once

namespace talvoro::windows {

// `system_error` is a GetLastError() code; anything without a closer match is EIO.
int error_number_for(unsigned long system_error);

}  // namespace talvoro::windows
