#include "platform/windows/raw_input_translation.h"

#include <windows.h>

#include <array>

namespace talvoro::platform::windows {
namespace {

struct ButtonFlag {
    uint16_t flag;
    ui::WindowMessage msg;
    int button;
};

constexpr std::array<ButtonFlag, 10> kButtonFlags = {{
    {RI_MOUSE_LEFT_BUTTON_DOWN, ui::WindowMessage::kButtonDown, 1},
    {RI_MOUSE_LEFT_BUTTON_UP, ui::WindowMessage::kButtonUp, 1},
    {RI_MOUSE_MIDDLE_BUTTON_DOWN, ui::WindowMessage::kButtonDown, 2},
    {RI_MOUSE_MIDDLE_BUTTON_UP, ui::WindowMessage::kButtonUp, 2},
    {RI_MOUSE_RIGHT_BUTTON_DOWN, ui::WindowMessage::kButtonDown, 3},
    {RI_MOUSE_RIGHT_BUTTON_UP, ui::WindowMessage::kButtonUp, 3},
    {RI_MOUSE_BUTTON_4_DOWN, ui::WindowMessage::kButtonDown, 4},
    {RI_MOUSE_BUTTON_4_UP, ui::WindowMessage::kButtonUp, 4},
    {RI_MOUSE_BUTTON_5_DOWN, ui::WindowMessage::kButtonDown, 5},
    {RI_MOUSE_BUTTON_5_UP, ui::WindowMessage::kButtonUp, 5},
}};

}  // namespace

std::optional<TranslatedInput> translate_raw_key(uint32_t message, uint16_t virtual_key) {
    const uintptr_t key = virtual_key & 0xFFu;
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return TranslatedInput{ui::WindowMessage::kKeyDown, key};
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return TranslatedInput{ui::WindowMessage::kKeyUp, key};
        default:
            return std::nullopt;
    }
}

std::optional<TranslatedInput> translate_raw_mouse(uint16_t button_flags, uint16_t button_data) {
    if (button_flags == RI_MOUSE_WHEEL) {
        const int delta = static_cast<int16_t>(button_data);
        if (delta == 0) {
            return std::nullopt;
        }
        // A fine-grained wheel reports parts of a notch; each report is one step, as a notch is.
        const int notches = delta / WHEEL_DELTA != 0 ? delta / WHEEL_DELTA : (delta > 0 ? 1 : -1);
        return TranslatedInput{ui::WindowMessage::kMouseWheel, ui::make_wheel_param(notches)};
    }
    for (const ButtonFlag& entry : kButtonFlags) {
        if (button_flags == entry.flag) {
            return TranslatedInput{entry.msg, static_cast<uintptr_t>(entry.button)};
        }
    }
    return std::nullopt;
}

}  // namespace talvoro::platform::windows
