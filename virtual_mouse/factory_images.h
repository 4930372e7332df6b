// The profiles a new mouse leaves the factory with.
#pragma once

#include <cstdint>

#include "mouse_state.h"

namespace talvoro::virtual_mouse {

inline constexpr uint16_t kFactoryFirmwareVersion = 105;  // V1.05

// The image of one slot (0..4; other values are taken as slot 0).
ProfileImage factory_image(size_t slot);

// Five factory images, slot 0 current, LED lit.
MouseState factory_state(uint16_t firmware_version);

}  // namespace talvoro::virtual_mouse
