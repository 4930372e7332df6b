#include "key_table.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace talvoro {
namespace {

// Windows virtual-key code, HID usage (Keyboard/Keypad page), display name.
// " Num_  " (virtual key 108, the keypad separator) has two trailing blanks.
constexpr std::array<KeyRow, 105> kKeys = {{
    {8, 42, " BackSpace "},
    {9, 43, " Tab "},
    {13, 40, " Enter "},
    {16, 225, " Shift "},
    {17, 224, " Ctrl "},
    {18, 226, " Alt "},
    {19, 72, " Pause "},
    {20, 57, " CapsLock "},
    {27, 41, " Esc "},
    {32, 44, " Space "},
    {33, 75, " Page UP "},
    {34, 78, " Page Down "},
    {35, 77, " End "},
    {36, 74, " Home "},
    {37, 80, " Left "},
    {38, 82, " Up "},
    {39, 79, " Right "},
    {40, 81, " Down "},
    {41, 119, " Select "},
    {43, 116, " Execute "},
    {44, 70, " Print Screen "},
    {45, 73, " Insert "},
    {46, 76, " Delete "},
    {47, 117, " Help "},
    {48, 39, " 0 "},
    {49, 30, " 1 "},
    {50, 31, " 2 "},
    {51, 32, " 3 "},
    {52, 33, " 4 "},
    {53, 34, " 5 "},
    {54, 35, " 6 "},
    {55, 36, " 7 "},
    {56, 37, " 8 "},
    {57, 38, " 9 "},
    {65, 4, " A "},
    {66, 5, " B "},
    {67, 6, " C "},
    {68, 7, " D "},
    {69, 8, " E "},
    {70, 9, " F "},
    {71, 10, " G "},
    {72, 11, " H "},
    {73, 12, " I "},
    {74, 13, " J "},
    {75, 14, " K "},
    {76, 15, " L "},
    {77, 16, " M "},
    {78, 17, " N "},
    {79, 18, " O "},
    {80, 19, " P "},
    {81, 20, " Q "},
    {82, 21, " R "},
    {83, 22, " S "},
    {84, 23, " T "},
    {85, 24, " U "},
    {86, 25, " V "},
    {87, 26, " W "},
    {88, 27, " X "},
    {89, 28, " Y "},
    {90, 29, " Z "},
    {91, 227, " L_WIN "},
    {92, 231, " R_WIN "},
    {93, 101, " APP "},
    {96, 98, " Num_0 "},
    {97, 89, " Num_1 "},
    {98, 90, " Num_2 "},
    {99, 91, " Num_3 "},
    {100, 92, " Num_4 "},
    {101, 93, " Num_5 "},
    {102, 94, " Num_6 "},
    {103, 95, " Num_7 "},
    {104, 96, " Num_8 "},
    {105, 97, " Num_9 "},
    {106, 85, " Num_* "},
    {107, 87, " Num_+ "},
    {108, 88, " Num_  "},
    {109, 86, " Num_- "},
    {110, 99, " Num_. "},
    {111, 84, " Num_/ "},
    {112, 58, " F1 "},
    {113, 59, " F2 "},
    {114, 60, " F3 "},
    {115, 61, " F4 "},
    {116, 62, " F5 "},
    {117, 63, " F6 "},
    {118, 64, " F7 "},
    {119, 65, " F8 "},
    {120, 66, " F9 "},
    {121, 67, " F10 "},
    {122, 68, " F11 "},
    {123, 69, " F12 "},
    {144, 83, " Number Lock "},
    {145, 71, " Scroll Lock "},
    {192, 53, " ` "},
    {219, 47, " [ "},
    {221, 48, " ] "},
    {220, 49, " \\ "},
    {189, 45, " - "},
    {187, 46, " = "},
    {222, 52, " ' "},
    {186, 51, " ; "},
    {191, 56, " / "},
    {190, 55, " . "},
    {188, 54, " , "},
    {0, 0, ""},
}};

}  // namespace

std::span<const KeyRow> key_table_with_end() {
    return kKeys;
}

std::span<const KeyRow> key_table() {
    return std::span<const KeyRow>(kKeys).first(kKeys.size() - 1);
}

const KeyRow* key_by_virtual_key(int32_t virtual_key) {
    for (const KeyRow& row : key_table()) {
        if (row.virtual_key == virtual_key)
            return &row;
    }
    return nullptr;
}

const KeyRow* key_by_usage(uint16_t usage) {
    // Macros look keys up by usage for every event they carry: index once.
    static const std::array<const KeyRow*, 256> by_usage = [] {
        std::array<const KeyRow*, 256> index{};
        for (const KeyRow& row : key_table()) {
            if (index[row.usage] == nullptr) index[row.usage] = &row;
        }
        return index;
    }();
    return usage < by_usage.size() ? by_usage[usage] : nullptr;
}

const KeyRow* key_by_name(const char* name) {
    if (name == nullptr) return nullptr;
    static const std::array<const KeyRow*, kKeys.size() - 1> by_name = [] {
        std::array<const KeyRow*, kKeys.size() - 1> index{};
        for (size_t i = 0; i < index.size(); ++i) index[i] = &kKeys[i];
        std::sort(index.begin(), index.end(), [](const KeyRow* a, const KeyRow* b) {
            return std::strcmp(a->name, b->name) < 0;
        });
        return index;
    }();
    const auto found = std::lower_bound(
        by_name.begin(), by_name.end(), name,
        [](const KeyRow* row, const char* wanted) { return std::strcmp(row->name, wanted) < 0; });
    return found != by_name.end() && std::strcmp((*found)->name, name) == 0 ? *found : nullptr;
}

}  // namespace talvoro
