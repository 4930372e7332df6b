// Font faces the system's font locator names and the glyphs FreeType renders from them, both
// cached.
// Single-threaded, like the rest of the UI.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "render/font_locator.h"
#include "render/font_style.h"

namespace talvoro::ui {

// An 8-bit coverage bitmap; `left` and `top` place it from the pen position and the baseline.
struct Glyph {
    int width = 0;
    int rows = 0;
    int left = 0;
    int top = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

struct FontMetrics {
    int ascent = 0;
    int descent = 0;  // positive, below the baseline
    int line_height = 0;
    int underline_offset = 1;  // below the baseline
    int underline_thickness = 1;
};

class FontCache {
  public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The one the text functions use.
    static FontCache& shared();

    // False when FreeType or the font locator could not start; nothing is drawn then.
    bool ok() const { return library_ != nullptr && locator_ != nullptr; }

    // The face the locator picks for the font and the text's language ("zh-cn", "" for none);
    // -1 when there is none.
    int face_for(const FontStyle& font, const std::string& language);
    // `primary` when it has the character, else a face that has it (or `primary`).
    int face_for_char(int primary, const FontStyle& font, const std::string& language,
                      char32_t codepoint);
    // nullptr for a bad face.
    const Glyph* glyph(int face, char32_t codepoint);
    FontMetrics metrics(int face) const;
    // The file the face came from, for diagnostics and tests.
    std::string face_file(int face) const;

  private:
    struct Face;
    int match(const FontStyle& font, const std::string& language, char32_t codepoint);
    int open_face(const std::string& file, int index, const FontStyle& font);

    void* library_ = nullptr;  // FT_Library
    std::unique_ptr<FontLocator> locator_;
    std::vector<std::unique_ptr<Face>> faces_;
    std::map<std::tuple<std::string, int, int, bool, bool>, int> faces_by_file_;
    std::map<std::tuple<std::string, int, bool, bool, std::string>, int> primary_;
    std::map<std::tuple<int, std::string, char32_t>, int> fallback_;
    std::map<std::pair<int, char32_t>, Glyph> glyphs_;
};

}  // namespace talvoro::ui
