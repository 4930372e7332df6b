// Building the layouts as the program does, for the layout tests: the page elements its
// builder callback makes, the main window with its four pages, the skin folder of each
// language, and the macro page's arrangement per language.
#pragma once

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include "core/control.h"
#include "core/dialog_builder.h"
#include "core/paint_manager.h"
#include "core/tab_layout.h"
#include "render/canvas.h"

namespace talvoro::layouts::test {

inline constexpr int kWindowWidth = 1025;
inline constexpr int kWindowHeight = 701;

// The layouts' source folder (resources/).
const std::string& resources_folder();

// nullptr when the layout does not build.
std::unique_ptr<ui::CControlUI> build_layout(int resource_id, ui::IDialogBuilderCallback* callback,
                                             ui::CPaintManagerUI* manager = nullptr);

// The program's page elements, as its callback makes them: a container holding the page's own
// layout, or an empty one where the pages are not wanted. Any other unknown name also gets a
// plain container, so that a misspelt element still shows up as a missing control.
class PageCallback : public ui::IDialogBuilderCallback {
  public:
    explicit PageCallback(bool with_pages) : with_pages_(with_pages) {}

    std::unique_ptr<ui::CControlUI> create_control(std::string_view name) override;
    const std::set<std::string>& unknown() const { return unknown_; }

  private:
    bool with_pages_;
    std::set<std::string> unknown_;
};

// A skin folder drawn beside the test programs, with the font the program makes the default
// for its language and a short tag for names of drawn pictures.
struct Language {
    const char* folder;
    int default_font;
    const char* tag;
};
// In language index order: English, traditional Chinese, simplified Chinese, German.
inline constexpr Language kLanguages[] = {{"TalvoroSkin", 1, "en"},
                                          {"TalvoroSkin1", 2, "zh_tw"},
                                          {"TalvoroSkin2", 3, "zh_cn"},
                                          {"TalvoroSkin3", 1, "de"}};
std::string skin_folder(const Language& language);

// The widths and positions the program gives the macro page's record and delay controls.
struct MacroArrangement {
    const char* language;
    int record_width, insert_width, edit_width;
    const char *default_pos, *insert_pos, *edit_pos;
};
inline constexpr MacroArrangement kNarrowArrangement{"English",    114,          169,         169,
                                                     "221,68,0,0", "225,50,0,0", "225,88,0,0"};
inline constexpr MacroArrangement kGermanArrangement{"German",     143,          222,         234,
                                                     "291,69,0,0", "276,50,0,0", "286,88,0,0"};
inline void PrintTo(const MacroArrangement& arrangement, std::ostream* out) {
    *out << arrangement.language;
}
// Sets them as the program does; false when a control is missing or refuses the value.
bool arrange_macro_page(ui::CPaintManagerUI& manager, const MacroArrangement& arrangement);

// The main window built with its four pages as the program builds it, at its size, showing
// the English skin.
class BuiltMainWindow {
  public:
    BuiltMainWindow();
    bool ok() const { return tabs_ != nullptr; }

    ui::CPaintManagerUI& manager() { return manager_; }
    const ui::Canvas& canvas() const { return canvas_; }
    ui::CControlUI* find(std::string_view name) { return manager_.find_control(name); }

    // Selects a page as its tab option does, lays the window out again and paints it.
    void show_page(int index);
    // Shows the pictures, the default font and the macro page's arrangement of a language.
    void use_language(const Language& language);

  private:
    PageCallback callback_{true};
    ui::CPaintManagerUI manager_;
    ui::CTabLayoutUI* tabs_ = nullptr;
    ui::Canvas canvas_{kWindowWidth, kWindowHeight};
};

}  // namespace talvoro::layouts::test
