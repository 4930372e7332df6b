// The skins' colours, one place, so a colour change is one edit.
#pragma once

#include "render/color.h"

namespace talvoro::skins {

using ui::Color;

inline constexpr Color kWindowColor = Color::from_argb(0xFF0E0E11);
inline constexpr Color kPanelColor = Color::from_argb(0xFF16161B);
inline constexpr Color kPanelBorderColor = Color::from_argb(0xFF2A2A31);
inline constexpr Color kFieldColor = Color::from_argb(0xFF000000);
inline constexpr Color kTextColor = Color::from_argb(0xFFFFFFFF);
inline constexpr Color kSecondaryTextColor = Color::from_argb(0xFFA3A3AD);
inline constexpr Color kAccentColor = Color::from_argb(0xFFFF3C3C);
inline constexpr Color kAccentDarkColor = Color::from_argb(0xFF3C3C3C);
// The mouse: a shell a little lighter than the panels, buttons lighter again.
inline constexpr Color kShellColor = Color::from_argb(0xFF202027);
inline constexpr Color kShellEdgeColor = Color::from_argb(0xFF3A3A44);
inline constexpr Color kMouseButtonColor = Color::from_argb(0xFF2C2C34);
inline constexpr Color kMouseButtonEdgeColor = Color::from_argb(0xFF4A4A55);
inline constexpr Color kSeamColor = Color::from_argb(0xFF0A0A0D);
// How much darker the window's edges are than its centre (0..255).
inline constexpr int kVignetteStrength = 60;

}  // namespace talvoro::skins
