// What the popups share with the main window: the area they leave their values in before they
// send their result word, and the flag that a popup blocking the main window is up. Both belong
// to the UI thread.
#pragma once

#include <cstdint>

namespace talvoro::shell {

// Read as little-endian 16-bit words w0, w1, ...
struct PopupResultArea {
    static constexpr int kWords = 260;

    uint8_t bytes[2 * kWords];

    // 0 for an index outside the area.
    uint16_t word(int i) const;
    // An index outside the area is ignored.
    void set_word(int i, uint16_t v);
    void clear();
};
static_assert(sizeof(PopupResultArea) == 520);

extern PopupResultArea PopupResult;
// 1 while a popup is up; the main window then swallows mouse moves and clicks on itself.
extern uint8_t popup_open;

}  // namespace talvoro::shell
