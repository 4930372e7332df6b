#include "platform/file_mouse_settings.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/ini_file.h"
#include "platform/platform_names.h"
#include "platform/program_paths.h"

namespace talvoro {
namespace {

constexpr const char* kSection = "Desktop Mouse";
constexpr const char* kDoubleClickKey = "DoubleClickTime";
constexpr const char* kWheelLinesKey = "WheelScrollLines";
constexpr const char* kPointerSpeedKey = "PointerSpeed";

// The whole value must be a number in range: a stray or hand-broken entry
// gives the desktop default rather than a number read from its first digits.
int read_value(const std::string& path, const char* key, int default_value, bool (*valid)(int)) {
    const std::string text = ini_read_string(path, kSection, key, "");
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !valid(value))
        return default_value;
    return value;
}

bool write_value(const std::string& path, const char* key, int value, bool (*valid)(int)) {
    if (!valid(value))
        return false;
    // The data folder may not exist yet on a first run.
    const auto separator = std::find_if(path.rbegin(), path.rend(), is_path_separator);
    const std::string folder(path.begin(), separator.base());
    if (!folder.empty() && !ensure_folder(folder))
        return false;
    return ini_write_string(path, kSection, key, std::to_string(value));
}

}  // namespace

std::string FileMouseSettings::default_path() {
    return data_directory() + "desktop_mouse.ini";
}

std::optional<int> FileMouseSettings::double_click_ms() const {
    return read_value(path_, kDoubleClickKey, kDefaultDoubleClickMs, valid_double_click_ms);
}

std::optional<int> FileMouseSettings::wheel_lines() const {
    return read_value(path_, kWheelLinesKey, kDefaultWheelLines, valid_wheel_lines);
}

std::optional<int> FileMouseSettings::pointer_speed() const {
    return read_value(path_, kPointerSpeedKey, kDefaultPointerSpeed, valid_pointer_speed);
}

bool FileMouseSettings::set_double_click_ms(int ms) {
    return write_value(path_, kDoubleClickKey, ms, valid_double_click_ms);
}

bool FileMouseSettings::set_wheel_lines(int lines) {
    return write_value(path_, kWheelLinesKey, lines, valid_wheel_lines);
}

bool FileMouseSettings::set_pointer_speed(int speed) {
    return write_value(path_, kPointerSpeedKey, speed, valid_pointer_speed);
}

}  // namespace talvoro
