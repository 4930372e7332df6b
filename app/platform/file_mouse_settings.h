// Desktop pointer settings kept in a file of the program's, where no desktop
// backend is found: the values are remembered for the next run and for
// reading back, though nothing outside the program follows them.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "device/desktop_mouse_settings.h"

namespace talvoro {

class FileMouseSettings final : public DesktopMouseSettings {
  public:
    // Keeps the values in the INI file at `path`, section "Desktop Mouse".
    explicit FileMouseSettings(std::string path) : path_(std::move(path)) {}

    // The file in the program's data folder.
    static std::string default_path();

    // A missing file, key or out-of-range value reads as the desktop default.
    std::optional<int> double_click_ms() const override;
    std::optional<int> wheel_lines() const override;
    std::optional<int> pointer_speed() const override;
    bool set_double_click_ms(int ms) override;
    bool set_wheel_lines(int lines) override;
    bool set_pointer_speed(int speed) override;
    const char* name() const override { return "file"; }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace talvoro
