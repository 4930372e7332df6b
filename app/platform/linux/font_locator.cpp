// Fonts on Linux: fontconfig's own matching, which knows the desktop's families, aliases and
// language coverage.
#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "render/debug_log.h"
#include "render/font_locator.h"

namespace talvoro::ui {
namespace {

// Windows CJK families the layouts name, which fontconfig does not know: they ask for
// whatever CJK face is installed, in their own script.
struct CjkFamily {
    const char* name;
    const char* language;
};
constexpr CjkFamily kCjkFamilies[] = {
    {"microsoft jhenghei", "zh-tw"},
    {"微軟正黑體", "zh-tw"},
    {"pmingliu", "zh-tw"},
    {"mingliu", "zh-tw"},
    {"新細明體", "zh-tw"},
    {"細明體", "zh-tw"},
    {"microsoft yahei", "zh-cn"},
    {"微软雅黑", "zh-cn"},
    {"微軟雅黑", "zh-cn"},
    {"simsun", "zh-cn"},
    {"宋体", "zh-cn"},
    {"simhei", "zh-cn"},
    {"黑体", "zh-cn"},
    {"ms gothic", "ja"},
    {"meiryo", "ja"},
    {"malgun gothic", "ko"},
    {"gulim", "ko"},
};

const char* cjk_family_language(const std::string& family) {
    std::string lower = family;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return c < 128 ? std::tolower(c) : c; });
    for (const CjkFamily& entry : kCjkFamilies) {
        if (lower == entry.name) {
            return entry.language;
        }
    }
    return nullptr;
}

class FontconfigLocator final : public FontLocator {
  public:
    explicit FontconfigLocator(FcConfig* config) : config_(config) {}
    ~FontconfigLocator() override { FcConfigDestroy(config_); }
    FontconfigLocator(const FontconfigLocator&) = delete;
    FontconfigLocator& operator=(const FontconfigLocator&) = delete;

    std::vector<FontFile> locate(const FontStyle& font, const std::string& language,
                                 char32_t codepoint) override {
        FcPattern* pattern = FcPatternCreate();
        const char* cjk_language = cjk_family_language(font.family);
        if (!font.family.empty() && cjk_language == nullptr) {
            FcPatternAddString(pattern, FC_FAMILY,
                               reinterpret_cast<const FcChar8*>(font.family.c_str()));
        }
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        std::string wanted_language = language.empty() && cjk_language ? cjk_language : language;
        if (!wanted_language.empty()) {
            FcPatternAddString(pattern, FC_LANG,
                               reinterpret_cast<const FcChar8*>(wanted_language.c_str()));
        }
        FcPatternAddDouble(pattern, FC_PIXEL_SIZE, font.pixel_size);
        FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        if (codepoint != 0) {
            FcCharSet* characters = FcCharSetCreate();
            FcCharSetAddChar(characters, codepoint);
            FcPatternAddCharSet(pattern, FC_CHARSET, characters);
            FcCharSetDestroy(characters);
        }
        FcConfigSubstitute(config_, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* matched = FcFontMatch(config_, pattern, &result);
        FcPatternDestroy(pattern);
        if (matched == nullptr) {
            return {};
        }
        std::vector<FontFile> files;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(matched, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(matched, FC_INDEX, 0, &index);
            files.push_back({reinterpret_cast<const char*>(file), index});
        }
        FcPatternDestroy(matched);
        return files;
    }

  private:
    FcConfig* config_;
};

}  // namespace

std::unique_ptr<FontLocator> make_font_locator() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        debug_log("fonts: fontconfig did not start");
        return nullptr;
    }
    return std::make_unique<FontconfigLocator>(config);
}

}  // namespace talvoro::ui
