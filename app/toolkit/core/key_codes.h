// Key codes of key_down, with the values of Windows virtual keys so that program code and
// recorded macros keep one numbering. Escape (kKeyEscape) lives with the paint manager.
#pragma once

namespace talvoro::ui {

inline constexpr int kKeyBack = 0x08;
inline constexpr int kKeyTab = 0x09;
inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeySpace = 0x20;
inline constexpr int kKeyPrior = 0x21;
inline constexpr int kKeyNext = 0x22;
inline constexpr int kKeyEnd = 0x23;
inline constexpr int kKeyHome = 0x24;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyDelete = 0x2E;
inline constexpr int kKeyF2 = 0x71;

// The modifier keys held with a key.
struct KeyModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// Alt+Down and Alt+Up open and close a drop-down, as on every desktop.
inline bool is_drop_down_key(int key, KeyModifiers modifiers) {
    return modifiers.alt && (key == kKeyDown || key == kKeyUp);
}

}  // namespace talvoro::ui
