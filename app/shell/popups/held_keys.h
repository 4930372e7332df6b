// The keys held down, as the Windows keyboard state shows them to a program that asks for the
// whole of it: a sided Shift, Ctrl or Alt (0xA0..0xA5, as the platform layer reports them) also
// holds its generic code (0x10..0x12), so the generic code is the lower of the two. A generic
// code pressed on its own stands for the left key.
#pragma once

#include <bitset>

namespace talvoro::shell {

inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;  // Alt
inline constexpr int kVkLeftShift = 0xA0;
inline constexpr int kVkRightShift = 0xA1;
inline constexpr int kVkLeftControl = 0xA2;
inline constexpr int kVkRightControl = 0xA3;
inline constexpr int kVkLeftMenu = 0xA4;
inline constexpr int kVkRightMenu = 0xA5;

class HeldKeys {
  public:
    // Codes outside 1..255 are ignored.
    void press(int key);
    void release(int key);
    void clear() { down_.reset(); }

    bool held(int key) const;
    // The lowest code held, 0 when none is.
    int lowest() const;

  private:
    // Sided modifier keys are kept by their sided codes only.
    std::bitset<256> down_;
};

}  // namespace talvoro::shell
