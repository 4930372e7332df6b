#include "factory_images.h"

#include <array>

namespace talvoro::virtual_mouse {

namespace {

namespace layout = protocol::image;

constexpr uint8_t kReportRate1000Hz = 1;
constexpr uint8_t kLiftOffLowest = 5;
constexpr std::array<uint16_t, protocol::kResolutionLevels> kFactoryCpi = {400, 800, 1600, 3200};

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

}  // namespace

ProfileImage factory_image(size_t slot) {
    ProfileImage image{};
    image[layout::kProfileIndex.offset] =
        static_cast<uint8_t>(slot < protocol::kProfileSlots ? slot : 0);
    image[layout::kInUse.offset] = 1;
    layout::put_u16(image, layout::kDataSize.offset, static_cast<uint16_t>(protocol::kImageSize));
    image[layout::kReportRate.offset] = kReportRate1000Hz;
    image[layout::kPowerSave.offset] = 0;
    for (size_t level = 0; level < kFactoryCpi.size(); ++level) {
        layout::put_u16(image, layout::cpi_offset(2 * level), kFactoryCpi[level]);      // X
        layout::put_u16(image, layout::cpi_offset(2 * level + 1), kFactoryCpi[level]);  // Y
    }
    image[layout::kAngleSnapping.offset] = 0;
    image[layout::kLiftOff.offset] = kLiftOffLowest;
    image[layout::kSmoothing.offset] = 0;
    for (size_t k = 0; k < kFactoryButtons.size(); ++k) {
        const size_t at = layout::entry_offset(k);
        image[at + layout::kEntryFunctionType.offset] = kFactoryButtons[k].type;
        image[at + layout::kEntryFunctionParam.offset] = kFactoryButtons[k].param;
    }
    return image;
}

MouseState factory_state(uint16_t firmware_version) {
    MouseState state;
    for (size_t slot = 0; slot < protocol::kProfileSlots; ++slot)
        state.images[slot] = factory_image(slot);
    state.current_slot = 0;
    state.led_dark = false;
    state.firmware_version = firmware_version;
    return state;
}

}  // namespace talvoro::virtual_mouse
