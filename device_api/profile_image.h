// Packing a ProfileRecord into the mouse's 2048-byte profile image and back.
// Pure functions: no device, no allocation.
#pragma once

#include "profile_image_layout.h"
#include "talvoro_api.h"

namespace talvoro {

// The function type that marks a macro entry, for callers that build records.
using protocol::kFunctionMacro;

// Whether the record's macros can be packed: macro slot 9 holds at most 164
// events (the mouse's own limit), each macro entry's slot at most 128, and all
// macros with one terminator each fit the event area's 178 records.
bool macros_fit(const ProfileRecord& record);

// Packs `record` into `image` (which is overwritten whole). Stores the computed
// macro_offset and macro_event_count of every macro entry into `record`.
// Call only for records that macros_fit() accepts.
void pack_profile(ProfileRecord& record, ProfileImage& image);

// Unpacks `image` into `record`, writing only the bytes the image carries.
// A macro whose offset or event count reaches past the image or past the 128
// events of a slot is clamped: its slot receives the events that lie wholly
// inside both, and its event_count says how many that is.
void unpack_profile(const ProfileImage& image, ProfileRecord& record);

}  // namespace talvoro
