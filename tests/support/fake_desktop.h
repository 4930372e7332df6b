// Desktop pointer settings kept in memory, with every write counted.
#pragma once

#include <optional>

#include "device/desktop_mouse_settings.h"

namespace talvoro::test {

class FakeDesktop final : public DesktopMouseSettings {
  public:
    std::optional<int> double_click_ms() const override { return double_click; }
    std::optional<int> wheel_lines() const override { return lines; }
    std::optional<int> pointer_speed() const override { return speed; }
    bool set_double_click_ms(int ms) override { return store(double_click, ms); }
    bool set_wheel_lines(int value) override { return store(lines, value); }
    bool set_pointer_speed(int value) override { return store(speed, value); }
    const char* name() const override { return "fake"; }

    int double_click = 500;
    int lines = 3;
    int speed = 10;
    int writes = 0;

  private:
    bool store(int& field, int value) {
        field = value;
        ++writes;
        return true;
    }
};

}  // namespace talvoro::test
