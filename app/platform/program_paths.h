// Where the program finds its resources and keeps its data. Every folder
// returned ends with the platform's separator (kPathSeparator), so a relative
// name can be appended directly.
#pragma once

#include <string>

namespace talvoro {

// Folder of the running executable (/proc/self/exe, GetModuleFileNameW);
// empty when it cannot be found, which makes every path relative to the
// working folder.
std::string program_directory();

// Folder holding the skin folders: the program directory when it has them
// (a build tree or a relocatable install), else, on Linux, the install's
// share/talvoro/ beside the program's bin folder. Windows keeps them beside
// the program always.
std::string resource_directory();
std::string resource_directory_for(const std::string& program_dir);

// Folder for profile/, macro_files/ and config.ini: $TALVORO_DATA_DIR when
// set. On Linux, else the program directory when it holds the resources (a
// build tree or a relocatable install) and this user may write there, as the
// Windows edition does; else (an installed program among them)
// $XDG_DATA_HOME/talvoro/ or ~/.local/share/talvoro/. On Windows, else the
// program directory when this user may write there, else
// %LOCALAPPDATA%\Talvoro\.
std::string data_directory();
std::string data_directory_for(const std::string& program_dir);

// Creates the folder and any missing parents. True when a folder (or a link
// to one) exists at `path` afterwards.
[[nodiscard]] bool ensure_folder(const std::string& path);

}  // namespace talvoro
