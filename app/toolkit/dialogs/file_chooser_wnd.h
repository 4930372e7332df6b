// The toolkit's own file chooser, for desktops without one: the folder's sub-folders and
// matching files in a list, a name edit, the file-type filter, OK and Cancel, in the program's
// dark style. A click on a file takes its name; a double click enters a folder or chooses a
// file; Enter confirms, Escape cancels. Saving over a file that exists asks first, in the
// chooser's own bottom row: Replace chooses it, Cancel goes back to choosing.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_wnd.h"
#include "dialogs/file_chooser_request.h"
#include "dialogs/folder_listing.h"

namespace talvoro::ui {

class CListUI;

class CFileChooserWnd : public CDialogWnd {
  public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 440;

    explicit CFileChooserWnd(FileChooserRequest request);
    ~CFileChooserWnd() override;

    // Builds the chooser and creates its window, centred over `owner` (null: over the work
    // area), showing the initial folder; not shown yet.
    bool open(CWindowWnd* owner);
    std::string_view window_class_name() const override { return "FileChooserWnd"; }

    // The chosen path once the user confirmed; nothing while open or after a cancel.
    const std::optional<std::string>& result() const { return result_; }
    // The folder shown, with a trailing '/'.
    const std::string& folder() const { return folder_; }
    // The list's rows, in order.
    const std::vector<FolderEntry>& entries() const { return entries_; }
    // Shows another folder (relative to the shown one unless absolute); false, with a word in
    // the status line, when it cannot be read.
    bool change_folder(const std::string& folder);
    // What OK does with the typed name.
    void confirm();
    void cancel();
    // The file the chooser asks about replacing; nothing while it does not ask.
    const std::optional<std::string>& replace_question() const { return replace_path_; }

    void notify(TNotifyUI& msg) override;

  protected:
    intptr_t handle_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                            bool& handled) override;

  private:
    void fill_list();
    void set_status(const std::string& text);
    void entry_selected(int index);
    void entry_activated(int index);
    std::vector<std::string> active_patterns();
    std::string typed_name();
    void set_typed_name(const std::string& name);
    // The suggested name stands as if selected: the first typing replaces it, a caret key or a
    // click keeps it for editing.
    void mark_suggestion(bool fresh);
    // Input while the suggestion is fresh; true when it used the key up (an erase).
    bool edit_input_seen(WindowMessage msg, uintptr_t wparam);
    void finish(std::string path);
    // Shows "<name> already exists. Replace it?" in place of the OK row.
    void ask_replace(std::string path);
    // Back to choosing: the OK row again, nothing chosen.
    void end_replace_question();

    FileChooserRequest request_;
    std::string folder_;
    std::string initial_name_;
    bool suggestion_fresh_ = false;
    std::vector<FolderEntry> entries_;
    std::optional<std::string> result_;
    std::optional<std::string> replace_path_;
    CListUI* list_ = nullptr;
};

}  // namespace talvoro::ui
