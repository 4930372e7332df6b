#include "platform/windows/font_candidates.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace talvoro::ui {
namespace {

// A family's files by style: regular, bold, italic, bold italic (empty: the regular one, which the
// font cache makes bold or slanted itself).
struct Family {
    std::string_view name;  // lower case for ASCII names
    std::array<std::string_view, 4> files;
    std::string_view language;  // the script the family is for, "" for Latin
};

constexpr Family kFamilies[] = {
    {"verdana", {"verdana.ttf", "verdanab.ttf", "verdanai.ttf", "verdanaz.ttf"}, ""},
    {"tahoma", {"tahoma.ttf", "tahomabd.ttf", "", ""}, ""},
    {"arial", {"arial.ttf", "arialbd.ttf", "ariali.ttf", "arialbi.ttf"}, ""},
    {"segoe ui", {"segoeui.ttf", "segoeuib.ttf", "segoeuii.ttf", "segoeuiz.ttf"}, ""},
    {"microsoft jhenghei", {"msjh.ttc", "msjhbd.ttc", "", ""}, "zh-tw"},
    {"微軟正黑體", {"msjh.ttc", "msjhbd.ttc", "", ""}, "zh-tw"},
    {"pmingliu", {"mingliu.ttc", "", "", ""}, "zh-tw"},
    {"新細明體", {"mingliu.ttc", "", "", ""}, "zh-tw"},
    {"microsoft yahei", {"msyh.ttc", "msyhbd.ttc", "", ""}, "zh-cn"},
    {"微软雅黑", {"msyh.ttc", "msyhbd.ttc", "", ""}, "zh-cn"},
    {"微軟雅黑", {"msyh.ttc", "msyhbd.ttc", "", ""}, "zh-cn"},
    {"simsun", {"simsun.ttc", "", "", ""}, "zh-cn"},
    {"宋体", {"simsun.ttc", "", "", ""}, "zh-cn"},
};

// The system's faces for a script, best first.
constexpr std::string_view kTraditionalFaces[] = {"msjh.ttc", "mingliu.ttc"};
constexpr std::string_view kSimplifiedFaces[] = {"msyh.ttc", "simsun.ttc"};
constexpr std::string_view kLatinFaces[] = {"segoeui.ttf", "arial.ttf", "tahoma.ttf"};

// Shipped beside the program, from Debian's DejaVu and WenQuanYi Micro Hei packages.
constexpr std::string_view kShippedLatin[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"};
constexpr std::string_view kShippedCjk = "wqy-microhei.ttc";

std::string lower_ascii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return c < 128 ? std::tolower(c) : c; });
    return lower;
}

bool is_cjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FA1F);
}

class Candidates {
  public:
    Candidates(const FontFolders& folders, const std::function<bool(const std::string&)>& exists)
        : folders_(folders), exists_(exists) {}

    void system(std::string_view file) {
        for (const std::string& folder : folders_.system) {
            add(folder, file);
        }
    }
    void shipped(std::string_view file) { add(folders_.shipped, file); }
    std::vector<FontFile> take() { return std::move(files_); }

  private:
    void add(const std::string& folder, std::string_view file) {
        if (folder.empty() || file.empty()) {
            return;
        }
        std::string path = folder;
        if (path.back() != '\\' && path.back() != '/') {
            path += '\\';
        }
        path += file;
        const bool seen = std::any_of(files_.begin(), files_.end(),
                                      [&](const FontFile& f) { return f.path == path; });
        if (!seen && exists_(path)) {
            files_.push_back({path, 0});
        }
    }

    const FontFolders& folders_;
    const std::function<bool(const std::string&)>& exists_;
    std::vector<FontFile> files_;
};

}  // namespace

std::vector<FontFile> font_candidates(const FontStyle& font, const std::string& language,
                                      char32_t codepoint, const FontFolders& folders,
                                      const std::function<bool(const std::string&)>& exists) {
    Candidates found(folders, exists);
    const std::string family = lower_ascii(font.family);
    std::string_view script = language;
    const size_t style = (font.bold ? 1 : 0) + (font.italic ? 2 : 0);
    for (const Family& entry : kFamilies) {
        if (entry.name != family) {
            continue;
        }
        found.system(entry.files[style]);
        found.system(entry.files[0]);
        if (script.empty()) {
            script = entry.language;
        }
    }
    if (script.empty() && codepoint != 0 && is_cjk(codepoint)) {
        script = "zh-cn";
    }
    if (script == "zh-tw") {
        for (std::string_view file : kTraditionalFaces) {
            found.system(file);
        }
    }
    if (!script.empty()) {
        for (std::string_view file : kSimplifiedFaces) {
            found.system(file);
        }
        for (std::string_view file : kTraditionalFaces) {
            found.system(file);
        }
        found.shipped(kShippedCjk);
    }
    for (std::string_view file : kLatinFaces) {
        found.system(file);
    }
    found.shipped(kShippedLatin[font.bold ? 1 : 0]);
    found.shipped(kShippedLatin[0]);
    found.shipped(kShippedCjk);
    return found.take();
}

}  // namespace talvoro::ui
