// Macros between the store's text steps and the mouse's events.
#pragma once

#include "store/profile_store.h"
#include "talvoro_api.h"

namespace talvoro {

// Steps of `macro` as the events of one button's slot, in the form
// Write_profile takes: at most 128 events; a "t" step right after a key or
// mouse step becomes that event's delay.
void encode_macro(const MacroRecord& macro, MacroSlot& slot);

// How many events the macro's steps make, before the 128 a slot holds cut them.
int macro_event_count(const MacroRecord& macro);

// Events of a slot as Read_profile returns them (codes and delays
// byte-exchanged) into `macro`, which keeps its other steps: later buttons
// naming the same macro overwrite earlier ones. An empty name becomes
// "MACRO_<number>".
void decode_macro(const MacroSlot& slot, int32_t number, MacroRecord& macro);

}  // namespace talvoro
