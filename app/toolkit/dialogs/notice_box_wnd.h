// The program's notice box, drawn by the toolkit in the program's dark style: the caption in a
// title band, an icon, the text wrapped to the box's width, and an OK button. OK, Enter, Escape
// and the window manager's close all dismiss it. Its title is the caption, so windows that close
// notices by title ("Notice by App") find it.
#pragma once
#include <string>

#include "dialogs/dialog_wnd.h"
#include "dialogs/notice_icon.h"

namespace talvoro::ui {

class CNoticeBoxWnd : public CDialogWnd {
  public:
    static constexpr int kWidth = 400;
    // Taller texts are cut; a notice is a few sentences.
    static constexpr int kMaxTextHeight = 480;

    CNoticeBoxWnd(std::string text, std::string caption, NoticeIcon icon);
    ~CNoticeBoxWnd() override;

    // Builds the box and creates its window, centred over `owner` (null: over the work area),
    // not shown yet. False when the window cannot be created.
    bool open(CWindowWnd* owner);
    std::string_view window_class_name() const override { return "NoticeBoxWnd"; }

    // The text as shown: the given one without trailing line breaks.
    const std::string& text() const { return text_; }
    // Messages of the program end in a line break that would show as an empty line.
    static std::string shown_text(std::string text);

    void notify(TNotifyUI& msg) override;

  protected:
    intptr_t handle_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                            bool& handled) override;

  private:
    std::string text_;
    std::string caption_;
    NoticeIcon icon_;
};

}  // namespace talvoro::ui
