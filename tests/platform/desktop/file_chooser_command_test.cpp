#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "platform/child_process.h"
#include "platform/file_chooser_command.h"
#include "support/temp_folder.h"

namespace talvoro::platform {
namespace {

using test::TempFolder;
using Strings = std::vector<std::string>;

FileDialogRequest profile_request(FileDialogRequest::Mode mode) {
    FileDialogRequest request;
    request.mode = mode;
    request.filter_name = "QX profile (*.qxp)";
    request.patterns = {"*.qxp"};
    request.default_extension = "qxp";
    request.initial_path = "/home/u/talvoro/profile/profile.qxp";
    request.offer_all_files = true;
    return request;
}

void make_program(const std::string& path, mode_t mode = 0755) {
    std::ofstream(path) << "#!/bin/sh\n";
    ::chmod(path.c_str(), mode);
}

TEST(FileChooserCommand, ZenityOpenAndSave) {
    const ChooserProgram zenity{ChooserTool::kZenity, "/usr/bin/zenity", 3};
    EXPECT_EQ(chooser_command(zenity, profile_request(FileDialogRequest::Mode::kOpen), 0),
              (Strings{"/usr/bin/zenity", "--file-selection", "--title=Open",
                       "--filename=/home/u/talvoro/profile/profile.qxp",
                       "--file-filter=QX profile (*.qxp) | *.qxp",
                       "--file-filter=All files(*.*) | *", "--modal"}));
    FileDialogRequest save = profile_request(FileDialogRequest::Mode::kSave);
    save.title = "Save the profile";
    save.offer_all_files = false;
    // The window id is of no use to zenity, whose newer releases refuse --attach.
    EXPECT_EQ(chooser_command(zenity, save, 0x4200007),
              (Strings{"/usr/bin/zenity", "--file-selection", "--title=Save the profile", "--save",
                       "--confirm-overwrite", "--filename=/home/u/talvoro/profile/profile.qxp",
                       "--file-filter=QX profile (*.qxp) | *.qxp", "--modal"}));
}

// zenity before 4 replaces a file without asking unless told to; zenity 4 asks by itself and
// warns about the flag. A zenity of unknown version is told, as a warning loses nothing.
TEST(FileChooserCommand, ZenityAsksBeforeReplacingWhateverItsVersion) {
    const FileDialogRequest save = profile_request(FileDialogRequest::Mode::kSave);
    const FileDialogRequest open = profile_request(FileDialogRequest::Mode::kOpen);
    const auto asks = [](const Strings& argv) {
        return std::count(argv.begin(), argv.end(), "--confirm-overwrite");
    };
    for (const int version : {0, 2, 3}) {
        const ChooserProgram zenity{ChooserTool::kZenity, "zenity", version};
        EXPECT_EQ(asks(chooser_command(zenity, save, 0)), 1) << version;
        EXPECT_EQ(asks(chooser_command(zenity, open, 0)), 0) << version;
    }
    for (const int version : {4, 5}) {
        const ChooserProgram zenity{ChooserTool::kZenity, "zenity", version};
        EXPECT_EQ(asks(chooser_command(zenity, save, 0)), 0) << version;
        EXPECT_EQ(chooser_command(zenity, save, 0)[3], "--save");
    }
    EXPECT_EQ(zenity_major_version("3.44.0\n"), 3);
    EXPECT_EQ(zenity_major_version("4.0.1"), 4);
    EXPECT_EQ(zenity_major_version(" 12.1\n"), 12);
    EXPECT_EQ(zenity_major_version("4\n"), 4);
    EXPECT_EQ(zenity_major_version(""), 0);
    EXPECT_EQ(zenity_major_version("zenity 3.44"), 0);
    EXPECT_EQ(zenity_major_version("3x"), 0);
    EXPECT_EQ(zenity_major_version("99999999999999.0"), 0);
}

TEST(FileChooserCommand, KdialogOpenAndSaveAttachToTheOwner) {
    const ChooserProgram kdialog{ChooserTool::kKdialog, "/usr/bin/kdialog"};
    EXPECT_EQ(chooser_command(kdialog, profile_request(FileDialogRequest::Mode::kOpen), 0),
              (Strings{"/usr/bin/kdialog", "--title", "Open", "--getopenfilename",
                       "/home/u/talvoro/profile/profile.qxp",
                       "*.qxp|QX profile (*.qxp)\n*|All files(*.*)"}));
    FileDialogRequest macros;
    macros.mode = FileDialogRequest::Mode::kSave;
    macros.filter_name = "Macro File (*.qxm)";
    macros.patterns = {"*.qxm", "*.QXM"};
    EXPECT_EQ(chooser_command(kdialog, macros, 69206023),
              (Strings{"/usr/bin/kdialog", "--title", "Save As", "--attach", "69206023",
                       "--getsavefilename", ".", "*.qxm *.QXM|Macro File (*.qxm)"}));
}

TEST(FileChooserCommand, AFilterWithoutPatternsOffersEveryFile) {
    FileDialogRequest request;
    const auto argv = chooser_command({ChooserTool::kZenity, "zenity"}, request, 0);
    EXPECT_EQ(argv, (Strings{"zenity", "--file-selection", "--title=Open", "--file-filter=* | *",
                             "--modal"}));
}

TEST(FileChooserCommand, FindsTheProgramTheDesktopPrefers) {
    TempFolder first;
    TempFolder second;
    make_program(first.file("zenity"));
    make_program(second.file("kdialog"));
    make_program(second.file("zenity"));
    const std::string path = "relative:" + first.path() + ":" + second.path();

    auto found = find_chooser_program(path, "GNOME");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->tool, ChooserTool::kZenity);
    EXPECT_EQ(found->path, first.file("zenity"));

    found = find_chooser_program(path, "ubuntu:KDE");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->tool, ChooserTool::kKdialog);
    EXPECT_EQ(found->path, second.file("kdialog"));

    found = find_chooser_program(path, "", "kdialog");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->tool, ChooserTool::kKdialog);
    EXPECT_FALSE(find_chooser_program(first.path(), "", "kdialog"));
}

TEST(FileChooserCommand, OnlyExecutableFilesInAbsoluteFoldersCount) {
    TempFolder folder;
    make_program(folder.file("zenity"), 0644);
    ::mkdir(folder.file("kdialog").c_str(), 0755);
    EXPECT_FALSE(find_chooser_program(folder.path(), "KDE"));
    EXPECT_FALSE(find_chooser_program("", ""));
    // A relative entry would run whatever lies in the working folder.
    EXPECT_FALSE(find_chooser_program(".:bin", ""));
}

TEST(FileChooserCommand, TheAnswerIsTheFirstLineOfASuccess) {
    EXPECT_EQ(chooser_answer({true, 0, "/home/u/my profile.qxp\n"}), "/home/u/my profile.qxp");
    EXPECT_EQ(chooser_answer({true, 0, "/a.qxp\r\nnoise\n"}), "/a.qxp");
    EXPECT_FALSE(chooser_answer({true, 1, ""}));           // cancelled
    EXPECT_FALSE(chooser_answer({true, 1, "/a.qxp\n"}));   // cancelled, whatever it printed
    EXPECT_FALSE(chooser_answer({true, 0, "\n"}));         // nothing chosen
    EXPECT_FALSE(chooser_answer({false, 0, "/a.qxp\n"}));  // never ran
}

TEST(ChildProcess, CollectsOutputAndExitStatus) {
    const ChildResult echo = run_child({"printf", "%s|%s", "two words", "$HOME"});
    EXPECT_TRUE(echo.started);
    EXPECT_EQ(echo.exit_status, 0);
    EXPECT_EQ(echo.output, "two words|$HOME");

    const ChildResult failing = run_child({"/bin/sh", "-c", "echo partial; exit 3"});
    EXPECT_EQ(failing.exit_status, 3);
    EXPECT_EQ(failing.output, "partial\n");

    const ChildResult killed = run_child({"/bin/sh", "-c", "kill -TERM $$"});
    EXPECT_EQ(killed.exit_status, 128 + SIGTERM);
}

TEST(ChildProcess, AMissingProgramDoesNotStart) {
    EXPECT_FALSE(run_child({"/nonexistent/chooser"}).started);
    EXPECT_FALSE(run_child({}).started);
    EXPECT_FALSE(run_child({""}).started);
}

TEST(ChildProcess, TheChildReadsNothingFromOurInput) {
    // cat ends at once on /dev/null instead of waiting for the test's standard input.
    const ChildResult cat = run_child({"cat"});
    EXPECT_EQ(cat.exit_status, 0);
    EXPECT_EQ(cat.output, "");
}

}  // namespace
}  // namespace talvoro::platform
