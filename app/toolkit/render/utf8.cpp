#include "render/utf8.h"

namespace talvoro::ui {

std::u32string decode_utf8(std::string_view text) {
    constexpr char32_t kReplacement = 0xFFFD;
    std::u32string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80         ? 1
                     : (lead >> 5) == 6  ? 2
                     : (lead >> 4) == 14 ? 3
                     : (lead >> 3) == 30 ? 4
                                         : 0;
        if (length == 0 || i + length > text.size()) {
            result.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t value = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            value = value << 6 | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || value < kSmallest[length] || value > 0x10FFFF ||
            (value >= 0xD800 && value <= 0xDFFF)) {
            result.push_back(kReplacement);
            ++i;
            continue;
        }
        result.push_back(value);
        i += length;
    }
    return result;
}

}  // namespace talvoro::ui
