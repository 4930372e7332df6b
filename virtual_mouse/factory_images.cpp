#include "factory_images.h"

#include <array>

#include "hid/virtual/virtual_wire.h"

namespace talvoro::virtual_mouse {

namespace {

namespace wire = hid::virtual_wire;

// Where the fields sit in a device image.
constexpr size_t kProfileIndex = 0x00;
constexpr size_t kInUse = 0x01;
constexpr size_t kDataSize = 0x11;
constexpr size_t kReportRate = 0x15;
constexpr size_t kPowerSave = 0x16;
constexpr size_t kCpi = 0x32;
constexpr size_t kAngleSnapping = 0x44;
constexpr size_t kLiftOff = 0x45;
constexpr size_t kSmoothing = 0x46;
constexpr size_t kButtonTable = 0x50;
constexpr size_t kButtonStride = 7;

constexpr uint8_t kReportRate1000Hz = 1;
constexpr uint8_t kLiftOffLowest = 5;
constexpr std::array<uint16_t, 4> kCpiLevels = {400, 800, 1600, 3200};

struct Button {
    uint8_t type;
    uint8_t param;
};

// Left, right, wheel click, DPI up, DPI down, forward, backward, disabled,
// disabled, profile select, disabled; then wheel up and wheel down.
constexpr std::array<Button, TALVORO_BUTTON_ENTRIES> kFactoryButtons = {{
    {0x00, 0x01},
    {0x00, 0x02},
    {0x00, 0x04},
    {0x0A, 0x01},
    {0x0B, 0x01},
    {0x00, 0x10},
    {0x00, 0x08},
    {0xFF, 0x01},
    {0xFF, 0x01},
    {0x08, 0x01},
    {0xFF, 0x01},
    {0x01, 0x01},
    {0x01, 0xFF},
}};

static_assert(kButtonTable + kButtonStride * TALVORO_BUTTON_ENTRIES <= TALVORO_EVENT_AREA,
              "the button table ends before the event area");

}  // namespace

ProfileImage factory_image(size_t slot) {
    ProfileImage image{};
    image[kProfileIndex] = static_cast<uint8_t>(slot < kSlotCount ? slot : 0);
    image[kInUse] = 1;
    wire::put_u16(&image[kDataSize], static_cast<uint16_t>(kImageSize));
    image[kReportRate] = kReportRate1000Hz;
    image[kPowerSave] = 0;
    for (size_t level = 0; level < kCpiLevels.size(); ++level) {
        wire::put_u16(&image[kCpi + level * 4], kCpiLevels[level]);      // X
        wire::put_u16(&image[kCpi + level * 4 + 2], kCpiLevels[level]);  // Y
    }
    image[kAngleSnapping] = 0;
    image[kLiftOff] = kLiftOffLowest;
    image[kSmoothing] = 0;
    for (size_t k = 0; k < kFactoryButtons.size(); ++k) {
        image[kButtonTable + k * kButtonStride] = kFactoryButtons[k].type;
        image[kButtonTable + k * kButtonStride + 1] = kFactoryButtons[k].param;
    }
    return image;
}

MouseState factory_state(uint16_t firmware_version) {
    MouseState state;
    for (size_t slot = 0; slot < kSlotCount; ++slot)
        state.images[slot] = factory_image(slot);
    state.current_slot = 0;
    state.led_dark = false;
    state.firmware_version = firmware_version;
    return state;
}

}  // namespace talvoro::virtual_mouse
