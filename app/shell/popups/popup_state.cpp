#include "shell/popups/popup_state.h"

#include <cstring>

namespace talvoro::shell {

PopupResultArea PopupResult{};
uint8_t popup_open = 0;

uint16_t PopupResultArea::word(int i) const {
    if (i < 0 || i >= kWords) {
        return 0;
    }
    return static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

void PopupResultArea::set_word(int i, uint16_t v) {
    if (i < 0 || i >= kWords) {
        return;
    }
    bytes[2 * i] = static_cast<uint8_t>(v & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
}

void PopupResultArea::clear() {
    std::memset(bytes, 0, sizeof bytes);
}

}  // namespace talvoro::shell
