#include "mouse_state.h"

#include <algorithm>

#include "hid/virtual/virtual_wire.h"

namespace talvoro::virtual_mouse {

namespace wire = hid::virtual_wire;
using protocol::kImageSize;
using protocol::kProfileSlots;

std::vector<uint8_t> encode_state(const MouseState& state) {
    std::vector<uint8_t> bytes(kStateFileSize, 0);
    for (size_t slot = 0; slot < kProfileSlots; ++slot) {
        std::copy(state.images[slot].begin(), state.images[slot].end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(slot * kImageSize));
    }
    bytes[kStateSlotOffset] = state.current_slot;
    bytes[kStateLedOffset] = state.led_dark ? 1 : 0;
    wire::put_u16(&bytes[kStateFirmwareOffset], state.firmware_version);
    return bytes;
}

std::optional<MouseState> decode_state(std::span<const uint8_t> bytes) {
    if (bytes.size() != kStateFileSize)
        return std::nullopt;
    MouseState state;
    for (size_t slot = 0; slot < kProfileSlots; ++slot) {
        auto first = bytes.begin() + static_cast<std::ptrdiff_t>(slot * kImageSize);
        std::copy(first, first + static_cast<std::ptrdiff_t>(kImageSize),
                  state.images[slot].begin());
    }
    const uint8_t slot = bytes[kStateSlotOffset];
    state.current_slot = slot < kProfileSlots ? slot : 0;
    state.led_dark = bytes[kStateLedOffset] != 0;
    state.firmware_version = wire::get_u16(&bytes[kStateFirmwareOffset]);
    return state;
}

}  // namespace talvoro::virtual_mouse
