// Raw input records as the recorder takes them: each button change alone, the wheel by its
// notches, keys by their message; anything else is no input.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "platform/windows/raw_input_translation.h"

namespace talvoro::platform::windows {
namespace {

using ui::WindowMessage;

struct MouseCase {
    uint16_t flags;
    uint16_t data;
    std::optional<TranslatedInput> expected;
};

TEST(RawInputTranslation, MouseRecordsWithOneChangeBecomeButtonsOrWheelNotches) {
    const auto wheel = [](int notches) {
        return TranslatedInput{WindowMessage::kMouseWheel, ui::make_wheel_param(notches)};
    };
    const MouseCase cases[] = {
        {RI_MOUSE_LEFT_BUTTON_DOWN, 0, TranslatedInput{WindowMessage::kButtonDown, 1}},
        {RI_MOUSE_LEFT_BUTTON_UP, 0, TranslatedInput{WindowMessage::kButtonUp, 1}},
        {RI_MOUSE_RIGHT_BUTTON_DOWN, 0, TranslatedInput{WindowMessage::kButtonDown, 3}},
        {RI_MOUSE_MIDDLE_BUTTON_UP, 0, TranslatedInput{WindowMessage::kButtonUp, 2}},
        {RI_MOUSE_BUTTON_4_DOWN, 0, TranslatedInput{WindowMessage::kButtonDown, 4}},
        {RI_MOUSE_BUTTON_5_UP, 0, TranslatedInput{WindowMessage::kButtonUp, 5}},
        {RI_MOUSE_WHEEL, WHEEL_DELTA, wheel(1)},
        {RI_MOUSE_WHEEL, static_cast<uint16_t>(-2 * WHEEL_DELTA), wheel(-2)},
        // A fine wheel's part of a notch is still one step.
        {RI_MOUSE_WHEEL, 30, wheel(1)},
        {RI_MOUSE_WHEEL, static_cast<uint16_t>(-30), wheel(-1)},
        {RI_MOUSE_WHEEL, 0, std::nullopt},
        {0, 0, std::nullopt},  // a move
        {RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN, 0, std::nullopt},
        {RI_MOUSE_HWHEEL, WHEEL_DELTA, std::nullopt},
    };
    for (const MouseCase& c : cases) {
        const std::optional<TranslatedInput> got = translate_raw_mouse(c.flags, c.data);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << std::hex << c.flags << " " << c.data;
        if (got) {
            EXPECT_EQ(got->msg, c.expected->msg) << std::hex << c.flags;
            EXPECT_EQ(got->wparam, c.expected->wparam) << std::hex << c.flags << " " << c.data;
        }
    }
}

TEST(RawInputTranslation, KeysGoByTheirMessageWithTheKeysLowByte) {
    const struct {
        uint32_t message;
        uint16_t key;
        std::optional<WindowMessage> expected;
    } cases[] = {
        {WM_KEYDOWN, 'A', WindowMessage::kKeyDown},
        {WM_SYSKEYDOWN, VK_MENU, WindowMessage::kKeyDown},
        {WM_KEYUP, 'A', WindowMessage::kKeyUp},
        {WM_SYSKEYUP, VK_F10, WindowMessage::kKeyUp},
        {WM_CHAR, 'a', std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<TranslatedInput> got = translate_raw_key(c.message, c.key);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.message;
        if (got) {
            EXPECT_EQ(got->msg, *c.expected);
            EXPECT_EQ(got->wparam, c.key);
        }
    }
    EXPECT_EQ(translate_raw_key(WM_KEYDOWN, 0x1FF)->wparam, 0xFFu);
}

}  // namespace
}  // namespace talvoro::platform::windows
