#include "render/font_cache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstring>

#include "render/debug_log.h"
#include "render/font_locator.h"

namespace talvoro::ui {

namespace {

// Glyphs and faces a long session may collect before the caches start over.
constexpr size_t kMaxCachedGlyphs = 8192;
constexpr size_t kMaxCachedFallbacks = 4096;
constexpr int kMaxPixelSize = 512;

int from_26_6(FT_Pos value) {
    return static_cast<int>((value + 32) >> 6);
}

}  // namespace

struct FontCache::Face {
    FT_Face face = nullptr;
    std::string file;
    bool embolden = false;
    bool slant = false;
    ~Face() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }
};

FontCache::FontCache() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        debug_log("fonts: FreeType did not start");
        return;
    }
    library_ = library;
    locator_ = make_font_locator();
}

FontCache::~FontCache() {
    glyphs_.clear();
    faces_.clear();
    locator_.reset();
    if (library_ != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library_));
    }
}

FontCache& FontCache::shared() {
    static FontCache cache;
    return cache;
}

int FontCache::open_face(const std::string& file, int index, const FontStyle& font) {
    auto key = std::make_tuple(file, index, font.pixel_size, font.bold, font.italic);
    auto found = faces_by_file_.find(key);
    if (found != faces_by_file_.end()) {
        return found->second;
    }
    auto face = std::make_unique<Face>();
    face->file = file;
    if (FT_New_Face(static_cast<FT_Library>(library_), file.c_str(), index, &face->face) != 0) {
        debug_log("fonts: cannot open " + file);
        faces_by_file_[key] = -1;
        return -1;
    }
    if (FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(font.pixel_size)) != 0 &&
        face->face->num_fixed_sizes > 0) {
        // A bitmap-only face: take its first strike rather than nothing.
        FT_Select_Size(face->face, 0);
    }
    face->embolden = font.bold && !(face->face->style_flags & FT_STYLE_FLAG_BOLD);
    face->slant = font.italic && !(face->face->style_flags & FT_STYLE_FLAG_ITALIC);
    faces_.push_back(std::move(face));
    int id = static_cast<int>(faces_.size() - 1);
    faces_by_file_[key] = id;
    return id;
}

int FontCache::match(const FontStyle& font, const std::string& language, char32_t codepoint) {
    // The first candidate that opens, and, when a character is asked for, that has it; else the
    // first that opens, which draws the missing-glyph box.
    int first = -1;
    for (const FontFile& file : locator_->locate(font, language, codepoint)) {
        const int id = open_face(file.path, file.index, font);
        if (id < 0) {
            continue;
        }
        if (codepoint == 0 || FT_Get_Char_Index(faces_[id]->face, codepoint) != 0) {
            return id;
        }
        if (first < 0) {
            first = id;
        }
    }
    return first;
}

int FontCache::face_for(const FontStyle& font, const std::string& language) {
    if (!ok() || font.pixel_size <= 0 || font.pixel_size > kMaxPixelSize) {
        return -1;
    }
    auto key = std::make_tuple(font.family, font.pixel_size, font.bold, font.italic, language);
    auto found = primary_.find(key);
    if (found != primary_.end()) {
        return found->second;
    }
    int id = match(font, language, 0);
    primary_[key] = id;
    return id;
}

int FontCache::face_for_char(int primary, const FontStyle& font, const std::string& language,
                             char32_t codepoint) {
    if (primary < 0 || primary >= static_cast<int>(faces_.size())) {
        return primary;
    }
    if (FT_Get_Char_Index(faces_[primary]->face, codepoint) != 0) {
        return primary;
    }
    auto key = std::make_tuple(primary, language, codepoint);
    auto found = fallback_.find(key);
    if (found != fallback_.end()) {
        return found->second;
    }
    if (fallback_.size() >= kMaxCachedFallbacks) {
        fallback_.clear();
    }
    int id = match(font, language, codepoint);
    if (id < 0 || FT_Get_Char_Index(faces_[id]->face, codepoint) == 0) {
        id = primary;  // nobody has it: the primary face's missing-glyph box
    }
    fallback_[key] = id;
    return id;
}

const Glyph* FontCache::glyph(int face_id, char32_t codepoint) {
    if (face_id < 0 || face_id >= static_cast<int>(faces_.size())) {
        return nullptr;
    }
    auto key = std::make_pair(face_id, codepoint);
    auto found = glyphs_.find(key);
    if (found != glyphs_.end()) {
        return &found->second;
    }
    if (glyphs_.size() >= kMaxCachedGlyphs) {
        glyphs_.clear();
    }
    Face& face = *faces_[face_id];
    Glyph& glyph = glyphs_[key];
    FT_UInt index = FT_Get_Char_Index(face.face, codepoint);
    if (FT_Load_Glyph(face.face, index, FT_LOAD_DEFAULT) != 0) {
        return &glyph;  // an empty glyph draws nothing and takes no room
    }
    FT_GlyphSlot slot = face.face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (face.embolden) {
            FT_GlyphSlot_Embolden(slot);
        }
        if (face.slant) {
            FT_GlyphSlot_Oblique(slot);
        }
    }
    glyph.advance = from_26_6(slot->advance.x);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return &glyph;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.coverage.assign(size_t(glyph.width) * glyph.rows, 0);
    for (int y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            uint8_t value = 0;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                value = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
            } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                value = row[x];
            }
            glyph.coverage[size_t(y) * glyph.width + x] = value;
        }
    }
    return &glyph;
}

FontMetrics FontCache::metrics(int face_id) const {
    FontMetrics metrics;
    if (face_id < 0 || face_id >= static_cast<int>(faces_.size())) {
        return metrics;
    }
    FT_Face face = faces_[face_id]->face;
    const FT_Size_Metrics& size = face->size->metrics;
    metrics.ascent = from_26_6(size.ascender);
    metrics.descent = std::max(0, -from_26_6(size.descender));
    metrics.line_height = std::max(from_26_6(size.height), metrics.ascent + metrics.descent);
    if (FT_IS_SCALABLE(face)) {
        metrics.underline_offset =
            std::max(1, -from_26_6(FT_MulFix(face->underline_position, size.y_scale)));
        metrics.underline_thickness =
            std::max(1, from_26_6(FT_MulFix(face->underline_thickness, size.y_scale)));
    }
    metrics.underline_offset = std::min(metrics.underline_offset, std::max(1, metrics.descent));
    return metrics;
}

std::string FontCache::face_file(int face_id) const {
    if (face_id < 0 || face_id >= static_cast<int>(faces_.size())) {
        return {};
    }
    return faces_[face_id]->file;
}

}  // namespace talvoro::ui
