// Which display scale the program takes, from what the desktop says, in the order the sources
// are trusted: TALVORO_SCALE (a person's own choice), the system's scale of the window's screen
// (Wayland's output scale through SDL, Windows' per-monitor DPI), then X11's Xft.dpi (what GNOME
// and KDE set), then GDK_SCALE and QT_SCALE_FACTOR. A source that says nothing usable gives way
// to the next; with none the scale is 100 %.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "render/display_scale.h"

namespace talvoro::platform {

enum class ScaleSource { kOverride, kSystem, kXftDpi, kGdkScale, kQtScaleFactor, kNone };

struct ScaleSources {
    std::string override_scale{};          // TALVORO_SCALE: "1.5", "150%" or "150"
    std::optional<double> system_scale{};  // 1.0 at 100 %
    std::string xft_dpi{};                 // the X resource, "144" or "144.0"; 96 is 100 %
    std::string gdk_scale{};               // a whole number
    std::string qt_scale_factor{};         // "1.25"
};

struct ChosenScale {
    ui::DisplayScale scale;
    ScaleSource source = ScaleSource::kNone;
};

ChosenScale choose_display_scale(const ScaleSources& sources);
// The scale of this desktop from its sources, read on the first call; `display_factor` is the
// system's scale of a window's display where it tells one.
ChosenScale desktop_scale(std::optional<double> display_factor = std::nullopt);

// What the desktop says, read now: the environment's TALVORO_SCALE, GDK_SCALE and
// QT_SCALE_FACTOR, and on Linux the X server's Xft.dpi. The system's scale of a window's screen
// is the window's to add.
ScaleSources read_scale_sources();

// The value of resource `name` ("Xft.dpi") in an X resource database as the server keeps it
// (the RESOURCE_MANAGER property: "name:<blanks>value" lines); empty when it is not there.
std::string x_resource_value(std::string_view database, std::string_view name);

// A scale as a person writes it: a factor ("1.5"), a percentage ("150%"), or a bare number of
// 10 or more taken as a percentage ("150"). Nothing for anything else.
std::optional<double> parse_scale_factor(std::string_view text);

}  // namespace talvoro::platform
