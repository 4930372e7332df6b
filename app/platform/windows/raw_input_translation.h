// Raw input's keyboard and mouse records in the window's own message vocabulary, for the macro
// recorder. Pure, so the flag table is tested without a desktop.
#pragma once

#include <cstdint>
#include <optional>

#include "core/window.h"

namespace talvoro::platform::windows {

struct TranslatedInput {
    ui::WindowMessage msg = ui::WindowMessage::kKeyDown;
    uintptr_t wparam = 0;
};

// A RAWKEYBOARD's window message (WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP, WM_SYSKEYUP) and virtual
// key; the key's low byte is what the key table knows. Nothing for any other message.
std::optional<TranslatedInput> translate_raw_key(uint32_t message, uint16_t virtual_key);

// A RAWMOUSE's button flags and button data. Only a record with exactly one button change or a
// wheel turn counts; moves and records that change several buttons at once are nothing.
std::optional<TranslatedInput> translate_raw_mouse(uint16_t button_flags, uint16_t button_data);

}  // namespace talvoro::platform::windows
