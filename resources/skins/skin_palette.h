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
// Controls painted into pictures: a face a little lighter than the panels, an edge that
// stays visible on both the panels and the window, and the accent's hot and pressed shades.
inline constexpr Color kControlColor = Color::from_argb(0xFF1D1D23);
inline constexpr Color kControlHotColor = Color::from_argb(0xFF24242B);
inline constexpr Color kControlEdgeColor = Color::from_argb(0xFF3A3A44);
inline constexpr Color kControlHotEdgeColor = Color::from_argb(0xFF5C5C68);
inline constexpr Color kAccentHotColor = Color::from_argb(0xFFFF5A5A);
inline constexpr Color kAccentPushedColor = Color::from_argb(0xFFC92B2B);
// Disabled captions in pictures: dimmer than the secondary text, so the state reads at once.
inline constexpr Color kDisabledTextColor = Color::from_argb(0xFF5E5E68);
inline constexpr Color kDisabledEdgeColor = Color::from_argb(0xFF26262C);
// The lines from the mouse's buttons to their fields.
inline constexpr Color kLeaderColor = Color::from_argb(0xFF4C4C57);
// The mouse: a shell a little lighter than the panels, buttons lighter again.
inline constexpr Color kShellColor = Color::from_argb(0xFF202027);
inline constexpr Color kShellEdgeColor = Color::from_argb(0xFF3A3A44);
inline constexpr Color kShellHighlightColor = Color::from_argb(0xFF30303A);
inline constexpr Color kClickPlateColor = Color::from_argb(0xFF25252D);
inline constexpr Color kGripColor = Color::from_argb(0xFF1A1A20);
inline constexpr Color kGripRidgeColor = Color::from_argb(0xFF131317);
inline constexpr Color kMouseButtonColor = Color::from_argb(0xFF2C2C34);
inline constexpr Color kMouseButtonEdgeColor = Color::from_argb(0xFF4A4A55);
inline constexpr Color kSeamColor = Color::from_argb(0xFF0A0A0D);
// How much darker the window's edges are than its centre (0..255).
inline constexpr int kVignetteStrength = 60;

}  // namespace talvoro::skins
