// The desktop pointer settings, with the backend chosen on first use rather than at start-up:
// probing GSettings (its schemas, its store) costs the first frame about 15 ms, and most runs
// reach the desktop settings only when the user applies.
#pragma once

#include <memory>
#include <optional>

#include "device/desktop_mouse_settings.h"

namespace talvoro {

class DeferredDesktopMouseSettings final : public DesktopMouseSettings {
  public:
    std::optional<int> double_click_ms() const override { return backend().double_click_ms(); }
    std::optional<int> wheel_lines() const override { return backend().wheel_lines(); }
    std::optional<int> pointer_speed() const override { return backend().pointer_speed(); }
    bool set_double_click_ms(int ms) override { return backend().set_double_click_ms(ms); }
    bool set_wheel_lines(int lines) override { return backend().set_wheel_lines(lines); }
    bool set_pointer_speed(int speed) override { return backend().set_pointer_speed(speed); }
    const char* name() const override { return backend().name(); }

    // Whether the backend has been chosen yet.
    bool chosen() const { return backend_ != nullptr; }

  private:
    DesktopMouseSettings& backend() const;

    mutable std::unique_ptr<DesktopMouseSettings> backend_;
};

}  // namespace talvoro
