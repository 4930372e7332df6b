// The mouse's state file: loaded at start, rewritten after every change.
#pragma once

#include <cstdint>
#include <string>

#include "mouse_state.h"

namespace talvoro::virtual_mouse {

struct LoadedState {
    MouseState state;
    bool from_factory = false;  // the file was missing or not a state file
};

// A missing file, or one that is not exactly a state file, gives the factory
// state with `factory_version`.
LoadedState load_state_file(const std::string& path, uint16_t factory_version);

[[nodiscard]] bool save_state_file(const std::string& path, const MouseState& state, std::string* error);

}  // namespace talvoro::virtual_mouse
