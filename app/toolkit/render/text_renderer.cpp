#include "render/text_renderer.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "render/font_cache.h"
#include "render/utf8.h"

namespace talvoro::ui {

namespace {

FontStyle& default_font_storage() {
    static FontStyle font{"Verdana", 12, false, false, false};
    return font;
}

struct Item {
    char32_t codepoint = 0;
    bool underline = false;
    bool line_break = false;
    int face = -1;
    int advance = 0;
};

struct Line {
    std::vector<Item> items;
    int width = 0;
};

struct Layout {
    std::vector<Line> lines;
    FontMetrics metrics;
    int width = 0;
    int height = 0;
};

bool is_cjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

bool is_space(char32_t c) {
    return c == ' ' || c == 0x3000;
}

// The language the font locator should match for the text; CJK text must land on a CJK face
// whichever family the layout names.
std::string text_language(const std::u32string& text, const std::string& family) {
    bool han = false;
    for (char32_t c : text) {
        if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF)) {
            return "ja";
        }
        if ((c >= 0xAC00 && c <= 0xD7AF) || (c >= 0x1100 && c <= 0x11FF)) {
            return "ko";
        }
        han = han || is_cjk(c);
    }
    if (!han) {
        return {};
    }
    bool traditional = family.find("JhengHei") != std::string::npos ||
                       family.find("MingLiU") != std::string::npos ||
                       family.find("正黑") != std::string::npos ||
                       family.find("細明") != std::string::npos;
    return traditional ? "zh-tw" : "zh-cn";
}

FontStyle resolve(const FontStyle& font) {
    FontStyle resolved = font;
    const FontStyle& fallback = default_font_storage();
    if (resolved.family.empty()) {
        resolved.family = fallback.family;
    }
    if (resolved.pixel_size <= 0) {
        resolved.pixel_size = fallback.pixel_size;
    }
    return resolved;
}

std::vector<Item> parse_items(const std::u32string& text, unsigned flags) {
    std::vector<Item> items;
    bool underline = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if ((flags & kTextMarkup) && c == '{') {
            std::u32string_view rest(text.data() + i, text.size() - i);
            if (rest.starts_with(U"{u}")) {
                underline = true;
                i += 2;
                continue;
            }
            if (rest.starts_with(U"{/u}")) {
                underline = false;
                i += 3;
                continue;
            }
        }
        if (c == '\r') {
            continue;
        }
        Item item;
        item.underline = underline;
        if (c == '\n') {
            if (flags & kTextSingleLine) {
                continue;
            }
            item.line_break = true;
        } else {
            item.codepoint = (c == '\t' || c < 0x20) ? U' ' : c;
        }
        items.push_back(item);
    }
    return items;
}

int trimmed_width(const Line& line) {
    int width = line.width;
    for (auto it = line.items.rbegin(); it != line.items.rend() && is_space(it->codepoint); ++it) {
        width -= it->advance;
    }
    return width;
}

Layout lay_out(std::string_view utf8, const FontStyle& requested, unsigned flags, int max_width) {
    Layout layout;
    FontCache& cache = FontCache::shared();
    FontStyle font = resolve(requested);
    std::u32string text = decode_utf8(utf8);
    std::string language = text_language(text, font.family);
    int primary = cache.face_for(font, language);
    if (primary < 0) {
        return layout;
    }
    layout.metrics = cache.metrics(primary);
    bool wrap = (flags & kTextWordBreak) && !(flags & kTextSingleLine) && max_width > 0;

    Line line;
    // Index in line.items where the line may be broken; 0 means nowhere yet.
    size_t break_at = 0;
    auto finish = [&] {
        line.width = trimmed_width(line);
        layout.lines.push_back(std::move(line));
        line = Line{};
        break_at = 0;
    };
    for (Item item : parse_items(text, flags)) {
        if (item.line_break) {
            finish();
            continue;
        }
        item.face = cache.face_for_char(primary, font, language, item.codepoint);
        const Glyph* glyph = cache.glyph(item.face, item.codepoint);
        item.advance = glyph ? glyph->advance : 0;
        if (wrap && !line.items.empty() && !is_space(item.codepoint) &&
            line.width + item.advance > max_width) {
            if (is_cjk(item.codepoint)) {
                break_at = line.items.size();
            }
            std::vector<Item> rest;
            if (break_at > 0) {
                rest.assign(line.items.begin() + static_cast<long>(break_at), line.items.end());
                line.items.resize(break_at);
                line.width = 0;
                for (const Item& kept : line.items) {
                    line.width += kept.advance;
                }
            }
            finish();
            for (const Item& moved : rest) {
                line.items.push_back(moved);
                line.width += moved.advance;
            }
        }
        if (wrap && line.items.empty() && is_space(item.codepoint) && !layout.lines.empty()) {
            continue;  // a wrapped line does not start with the blank it broke at
        }
        line.items.push_back(item);
        line.width += item.advance;
        if (is_space(item.codepoint) || is_cjk(item.codepoint)) {
            break_at = line.items.size();
        }
    }
    finish();
    for (const Line& laid : layout.lines) {
        layout.width = std::max(layout.width, laid.width);
    }
    layout.height = static_cast<int>(layout.lines.size()) * layout.metrics.line_height;
    return layout;
}

// Positions are 64-bit: a rectangle may lie far outside the canvas, where int would overflow.
int clamp_int(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

void draw_underline(Canvas& canvas, const FontMetrics& metrics, int64_t from, int64_t to,
                    int64_t baseline, Color color) {
    if (to > from) {
        int64_t top = baseline + metrics.underline_offset;
        canvas.fill_physical(Rect{clamp_int(from), clamp_int(top), clamp_int(to),
                                  clamp_int(top + metrics.underline_thickness)},
                             color);
    }
}

void draw_glyph(Canvas& canvas, const Glyph& glyph, int64_t left, int64_t top, Color color) {
    Rect clip = canvas.physical_clip();
    if (left + glyph.width <= clip.left || left >= clip.right || top + glyph.rows <= clip.top ||
        top >= clip.bottom) {
        return;  // also keeps the int conversions below in range
    }
    for (int row = 0; row < glyph.rows; ++row) {
        const uint8_t* coverage = &glyph.coverage[size_t(row) * glyph.width];
        for (int column = 0; column < glyph.width; ++column) {
            if (coverage[column] != 0) {
                canvas.blend_physical(static_cast<int>(left + column), static_cast<int>(top + row),
                                      color, coverage[column]);
            }
        }
    }
}

}  // namespace

void set_default_font(const FontStyle& font) {
    FontStyle& stored = default_font_storage();
    if (!font.family.empty()) {
        stored.family = font.family;
    }
    if (font.pixel_size > 0) {
        stored.pixel_size = font.pixel_size;
    }
    stored.bold = font.bold;
    stored.italic = font.italic;
    stored.underline = font.underline;
}

FontStyle default_font() {
    return default_font_storage();
}

Size measure_text(std::string_view utf8, const FontStyle& font, unsigned flags, int max_width) {
    Layout layout = lay_out(utf8, font, flags, max_width);
    return Size{layout.width, layout.height};
}

void draw_text(Canvas& canvas, const Rect& rect, std::string_view utf8, const FontStyle& font,
               Color color, unsigned flags, const Rect& padding) {
    if (rect.deflate(padding).empty() || utf8.empty()) {
        return;
    }
    // Laid out and drawn on the surface's own pixels, at the exact scaled size: sharp at every
    // scale, where scaling text drawn at 100 % would blur it.
    const DisplayScale scale = canvas.scale();
    const Rect area = scale.to_physical(rect.deflate(padding));
    FontStyle physical_font = resolve(font);
    physical_font.pixel_size = scale.to_physical(physical_font.pixel_size);
    Layout layout = lay_out(utf8, physical_font, flags, area.width());
    if (layout.lines.empty()) {
        return;
    }
    color = opaque(color);
    ClipScope clip(canvas, rect);
    if (canvas.physical_clip().empty()) {
        return;
    }
    FontCache& cache = FontCache::shared();
    const FontMetrics& metrics = layout.metrics;
    int64_t y = area.top;
    if (flags & kTextBottom) {
        y = int64_t{area.bottom} - layout.height;
    } else if (flags & kTextVCenter) {
        y = area.top + (int64_t{area.height()} - layout.height) / 2;
    }
    bool underline_all = font.underline;
    for (const Line& line : layout.lines) {
        int64_t x = area.left;
        if (flags & kTextRight) {
            x = int64_t{area.right} - line.width;
        } else if (flags & kTextCenter) {
            x = area.left + (int64_t{area.width()} - line.width) / 2;
        }
        int64_t baseline = y + metrics.ascent;
        int64_t underline_from = x;
        bool underlining = false;
        for (const Item& item : line.items) {
            bool underlined = underline_all || item.underline;
            if (underlined && !underlining) {
                underline_from = x;
            } else if (!underlined && underlining) {
                draw_underline(canvas, metrics, underline_from, x, baseline, color);
            }
            underlining = underlined;
            const Glyph* glyph = cache.glyph(item.face, item.codepoint);
            if (glyph != nullptr) {
                draw_glyph(canvas, *glyph, x + glyph->left, baseline - glyph->top, color);
            }
            x += item.advance;
        }
        if (underlining) {
            draw_underline(canvas, metrics, underline_from, x, baseline, color);
        }
        y += metrics.line_height;
    }
}

}  // namespace talvoro::ui
