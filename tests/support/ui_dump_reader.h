// Reads the program's UI dump (TALVORO_UI_DUMP) as end-to-end tests need it: where a control,
// a menu entry or a drop-down item is on the screen, its text, and whether it is shown or
// selected. The file is read afresh on every question, as the program rewrites it each frame.
#pragma once

#include <optional>
#include <string>

namespace talvoro::test {

struct DumpedRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int center_x() const { return (left + right) / 2; }
    int center_y() const { return (top + bottom) / 2; }
};

struct DumpedControl {
    DumpedRect rect;
    bool visible = false;
    std::optional<bool> selected;
};

class UiDumpReader {
  public:
    explicit UiDumpReader(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // The windows' scale in percent; 0 before there is a dump. Rectangles are physical pixels.
    int scale() const;
    // The name of the control that has the keys' focus; empty for none.
    std::string focused() const;
    std::optional<DumpedControl> control(const std::string& name) const;
    // The control's text, empty when it is not in the dump.
    std::string text(const std::string& name) const;
    bool shown(const std::string& name) const;
    bool selected(const std::string& name) const;
    // The entry of an open menu that sends `command`.
    std::optional<DumpedRect> menu_entry(int command) const;
    // Item `index` of an open drop-down list.
    std::optional<DumpedRect> drop_item(int index) const;

  private:
    std::string path_;
};

}  // namespace talvoro::test
