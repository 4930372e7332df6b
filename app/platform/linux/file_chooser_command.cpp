#include "platform/file_chooser_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace talvoro::platform {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

std::optional<std::string> find_in_path(std::string_view path_env, std::string_view program) {
    for (std::string_view folder : split(path_env, ':')) {
        if (folder.empty() || folder[0] != '/') {
            continue;  // a relative PATH entry would run whatever lies in the working folder
        }
        std::string candidate(folder);
        candidate += '/';
        candidate += program;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string title_of(const FileDialogRequest& request) {
    if (!request.title.empty()) {
        return request.title;
    }
    return request.mode == FileDialogRequest::Mode::kSave ? "Save As" : "Open";
}

std::string joined_patterns(const FileDialogRequest& request) {
    std::string text;
    for (const std::string& pattern : request.patterns) {
        if (!text.empty()) {
            text += ' ';
        }
        text += pattern;
    }
    return text.empty() ? "*" : text;
}

std::string filter_name_of(const FileDialogRequest& request) {
    return request.filter_name.empty() ? joined_patterns(request) : request.filter_name;
}

}  // namespace

std::optional<ChooserProgram> find_chooser_program(std::string_view path_env,
                                                   std::string_view current_desktop,
                                                   std::string_view only) {
    bool kde = false;
    for (std::string_view desktop : split(current_desktop, ':')) {
        kde = kde || desktop == "KDE";
    }
    std::vector<std::pair<ChooserTool, std::string_view>> order = {
        {ChooserTool::kZenity, "zenity"}, {ChooserTool::kKdialog, "kdialog"}};
    if (kde) {
        std::swap(order[0], order[1]);
    }
    for (const auto& [tool, name] : order) {
        if (!only.empty() && only != name) {
            continue;
        }
        if (auto path = find_in_path(path_env, name)) {
            return ChooserProgram{tool, std::move(*path)};
        }
    }
    return std::nullopt;
}

std::vector<std::string> chooser_command(const ChooserProgram& program,
                                         const FileDialogRequest& request,
                                         unsigned long parent_window) {
    const bool save = request.mode == FileDialogRequest::Mode::kSave;
    const bool all_files = request.offer_all_files && !request.patterns.empty();
    std::vector<std::string> argv = {program.path};
    if (program.tool == ChooserTool::kZenity) {
        argv.push_back("--file-selection");
        argv.push_back("--title=" + title_of(request));
        if (save) {
            argv.push_back("--save");
            // Without it zenity 3 replaces an existing file without a word.
            if (program.major_version < 4) {
                argv.push_back("--confirm-overwrite");
            }
        }
        if (!request.initial_path.empty()) {
            argv.push_back("--filename=" + request.initial_path);
        }
        argv.push_back("--file-filter=" + filter_name_of(request) + " | " +
                       joined_patterns(request));
        if (all_files) {
            argv.push_back(std::string("--file-filter=") + ui::kAllFilesFilterName + " | *");
        }
        argv.push_back("--modal");
        return argv;
    }
    // kdialog: "patterns|description" filters, one a line. Its save dialog asks before
    // replacing a file by itself; it has no flag for that.
    std::string filter = joined_patterns(request) + "|" + filter_name_of(request);
    if (all_files) {
        filter += std::string("\n*|") + ui::kAllFilesFilterName;
    }
    argv.push_back("--title");
    argv.push_back(title_of(request));
    if (parent_window != 0) {
        char id[32];
        std::snprintf(id, sizeof id, "%lu", parent_window);
        argv.push_back("--attach");
        argv.push_back(id);
    }
    argv.push_back(save ? "--getsavefilename" : "--getopenfilename");
    argv.push_back(request.initial_path.empty() ? "." : request.initial_path);
    argv.push_back(filter);
    return argv;
}

int zenity_major_version(std::string_view version_output) {
    const size_t first = version_output.find_first_not_of(" \t\r\n");
    int major = 0;
    size_t at = first;
    for (; at != std::string_view::npos && at < version_output.size() &&
           version_output[at] >= '0' && version_output[at] <= '9' && major < 1000;
         ++at) {
        major = major * 10 + (version_output[at] - '0');
    }
    // Digits then a '.' or the line's end: anything else is no version.
    if (at == first || (at < version_output.size() && version_output[at] != '.' &&
                        version_output[at] != '\n' && version_output[at] != '\r')) {
        return 0;
    }
    return major;
}

std::optional<std::string> chooser_answer(const ChildResult& result) {
    if (!result.started || result.exit_status != 0) {
        return std::nullopt;
    }
    std::string path = result.output.substr(0, result.output.find('\n'));
    if (!path.empty() && path.back() == '\r') {
        path.pop_back();
    }
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}

}  // namespace talvoro::platform
