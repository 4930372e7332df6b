#include "platform/display_scale_sources.h"

#include <charconv>
#include <cmath>

namespace talvoro::platform {
namespace {

// Xft.dpi at 100 %.
constexpr double kBaseDpi = 96.0;

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A whole decimal number with an optional fraction; nothing when anything else follows.
std::optional<double> parse_number(std::string_view text) {
    text = trimmed(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<ui::DisplayScale> from_factor(std::optional<double> factor) {
    return factor ? ui::DisplayScale::nearest(*factor) : std::nullopt;
}

}  // namespace

std::string x_resource_value(std::string_view database, std::string_view name) {
    while (!database.empty()) {
        const size_t end = database.find('\n');
        std::string_view line = database.substr(0, end);
        database = end == std::string_view::npos ? std::string_view() : database.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || trimmed(line.substr(0, colon)) != name) {
            continue;
        }
        return std::string(trimmed(line.substr(colon + 1)));
    }
    return {};
}

std::optional<double> parse_scale_factor(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.back() == '%') {
        const std::optional<double> percent = parse_number(text.substr(0, text.size() - 1));
        return percent ? std::optional<double>(*percent / 100.0) : std::nullopt;
    }
    const std::optional<double> value = parse_number(text);
    if (value && *value >= 10.0) {
        return *value / 100.0;
    }
    return value;
}

ChosenScale choose_display_scale(const ScaleSources& sources) {
    const auto xft = [&]() -> std::optional<double> {
        const std::optional<double> dpi = parse_number(sources.xft_dpi);
        return dpi ? std::optional<double>(*dpi / kBaseDpi) : std::nullopt;
    };
    const auto gdk = [&]() -> std::optional<double> {
        const std::optional<double> value = parse_number(sources.gdk_scale);
        // GTK takes whole numbers only.
        return value && *value == std::floor(*value) ? value : std::nullopt;
    };
    const std::pair<ScaleSource, std::optional<double>> candidates[] = {
        {ScaleSource::kOverride, parse_scale_factor(sources.override_scale)},
        {ScaleSource::kSystem, sources.system_scale},
        {ScaleSource::kXftDpi, xft()},
        {ScaleSource::kGdkScale, gdk()},
        {ScaleSource::kQtScaleFactor, parse_number(sources.qt_scale_factor)},
    };
    for (const auto& [source, factor] : candidates) {
        if (const std::optional<ui::DisplayScale> scale = from_factor(factor)) {
            return ChosenScale{*scale, source};
        }
    }
    return ChosenScale{};
}

ChosenScale desktop_scale(std::optional<double> display_factor) {
    // Read once: the X server is asked only at start-up, and every window agrees.
    static const ScaleSources desktop = read_scale_sources();
    ScaleSources sources = desktop;
    if (display_factor) {
        sources.system_scale = display_factor;
    }
    return choose_display_scale(sources);
}

}  // namespace talvoro::platform
