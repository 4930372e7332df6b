// Which scale the desktop's sources give, and which source wins.
#include <gtest/gtest.h>

#include "platform/display_scale_sources.h"

namespace talvoro::platform {
namespace {

TEST(DisplayScaleSources, EachSourceWhatItRefusesAndWhichWins) {
    const struct {
        ScaleSources sources;
        int percent;
        ScaleSource source;
    } cases[] = {
        {{}, 100, ScaleSource::kNone},
        {{.override_scale = "1.5"}, 150, ScaleSource::kOverride},
        {{.override_scale = "175%"}, 175, ScaleSource::kOverride},
        {{.override_scale = " 200 "}, 200, ScaleSource::kOverride},
        {{.override_scale = "big"}, 100, ScaleSource::kNone},
        {{.system_scale = 2.0}, 200, ScaleSource::kSystem},
        {{.system_scale = 0.0}, 100, ScaleSource::kNone},
        {{.xft_dpi = "192"}, 200, ScaleSource::kXftDpi},
        {{.xft_dpi = "120.0"}, 125, ScaleSource::kXftDpi},
        {{.xft_dpi = "96"}, 100, ScaleSource::kXftDpi},
        {{.xft_dpi = "-5"}, 100, ScaleSource::kNone},
        {{.gdk_scale = "2"}, 200, ScaleSource::kGdkScale},
        {{.gdk_scale = "1.5"}, 100, ScaleSource::kNone},
        {{.qt_scale_factor = "1.25"}, 125, ScaleSource::kQtScaleFactor},
        {{.qt_scale_factor = "1.25x"}, 100, ScaleSource::kNone},
        // In order: the override, the system, Xft.dpi, GDK_SCALE, QT_SCALE_FACTOR.
        {{"3", 1.5, "120", "2", "1.75"}, 300, ScaleSource::kOverride},
        {{"", 1.5, "120", "2", "1.75"}, 150, ScaleSource::kSystem},
        {{"", {}, "120", "2", "1.75"}, 125, ScaleSource::kXftDpi},
        {{"", {}, "", "2", "1.75"}, 200, ScaleSource::kGdkScale},
        {{"", {}, "", "", "1.75"}, 175, ScaleSource::kQtScaleFactor},
    };
    for (const auto& c : cases) {
        const ChosenScale chosen = choose_display_scale(c.sources);
        EXPECT_EQ(chosen.scale.percent(), c.percent)
            << c.sources.override_scale << c.sources.xft_dpi << c.sources.gdk_scale
            << c.sources.qt_scale_factor;
        EXPECT_EQ(chosen.source, c.source) << chosen.scale.percent();
    }
}

TEST(DisplayScaleSources, XftDpiIsFoundAmongTheServersResources) {
    const std::string database =
        "Xcursor.size:\t24\nXft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n";
    EXPECT_EQ(x_resource_value(database, "Xft.dpi"), "192");
    EXPECT_EQ(x_resource_value("Xft.dpi: 144", "Xft.dpi"), "144");
    EXPECT_EQ(x_resource_value("Xft.dpix:\t144\n*Xft.dpi\t120\n", "Xft.dpi"), "");
    EXPECT_EQ(x_resource_value("", "Xft.dpi"), "");
}

}  // namespace
}  // namespace talvoro::platform
