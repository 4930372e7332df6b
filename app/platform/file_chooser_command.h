// The desktop's file chooser programs, zenity (GNOME and most others) and kdialog (KDE): which
// one to use and the argument vector that asks it for a file.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/child_process.h"
#include "platform/file_dialog.h"

namespace talvoro::platform {

enum class ChooserTool { kZenity, kKdialog };

struct ChooserProgram {
    ChooserTool tool = ChooserTool::kZenity;
    std::string path;  // the executable found
    // zenity's major version, 0 when not known. zenity 4 asks before replacing a file by itself
    // and warns about the flag that older ones need for it.
    int major_version = 0;
};

// The chooser among the folders of `path_env` (PATH's form, ':'-separated): kdialog first when
// `current_desktop` (XDG_CURRENT_DESKTOP, ':'-separated) names KDE, else zenity first. `only`
// ("zenity" or "kdialog") allows that one alone. Nothing when none is there.
std::optional<ChooserProgram> find_chooser_program(std::string_view path_env,
                                                   std::string_view current_desktop,
                                                   std::string_view only = {});

// The argument vector asking `program` for a file as `request` says. On save the chooser asks
// before replacing a file: zenity before 4 (or of unknown version) is told to, zenity 4 and
// kdialog (Qt's save dialog) ask by themselves. `parent_window`: the owner's X11 window id, 0
// for none.
std::vector<std::string> chooser_command(const ChooserProgram& program,
                                         const FileDialogRequest& request,
                                         unsigned long parent_window);

// The major version in the output of `zenity --version` ("3.44.0"); 0 when there is none.
int zenity_major_version(std::string_view version_output);

// The chosen path in a chooser's answer: its output's first line when it ended with status 0;
// nothing for a cancel (status 1), a failure or an empty answer.
std::optional<std::string> chooser_answer(const ChildResult& result);

}  // namespace talvoro::platform
