// Readable text of a profile record, for the probe.
#pragma once

#include <cstdio>

#include "talvoro_api.h"

namespace talvoro {

// Writes `record`, as Read_profile filled it, to `out`. Macro key codes and
// delays are shown as the mouse meant them (Read_profile returns them with
// their bytes exchanged).
void dump_record(const ProfileRecord& record, std::FILE* out);

// "V1.05" for 105.
void format_firmware_version(uint16_t version, char (&text)[16]);

}  // namespace talvoro
