// What the mouse keeps across power cycles: five profile images, the current
// slot, the LED black-out flag and the firmware version, and the byte layout
// of the state file that holds them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "profile_image_layout.h"

namespace talvoro::virtual_mouse {

struct MouseState {
    std::array<ProfileImage, protocol::kProfileSlots> images{};
    uint8_t current_slot = 0;
    bool led_dark = false;
    uint16_t firmware_version = 0;

    bool operator==(const MouseState&) const = default;
};

// State file layout: the images, slot 0 first, then the slot, the LED flag
// (1 = dark) and the firmware version, little-endian.
inline constexpr size_t kStateImagesSize = protocol::kProfileSlots * protocol::kImageSize;
inline constexpr size_t kStateSlotOffset = kStateImagesSize;
inline constexpr size_t kStateLedOffset = kStateSlotOffset + 1;
inline constexpr size_t kStateFirmwareOffset = kStateLedOffset + 1;
inline constexpr size_t kStateFileSize = kStateFirmwareOffset + 2;
static_assert(kStateFileSize == 10244, "state file size");

std::vector<uint8_t> encode_state(const MouseState& state);

// Accepts only a file of exactly kStateFileSize bytes. A slot byte outside
// 0..4 becomes 0 and any non-zero LED byte means dark, so a damaged file
// still gives a usable mouse.
std::optional<MouseState> decode_state(std::span<const uint8_t> bytes);

}  // namespace talvoro::virtual_mouse
