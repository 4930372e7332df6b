#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <fstream>

#include "core/combo.h"
#include "core/edit.h"
#include "core/key_codes.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "diagnostics/window_driver.h"
#include "dialogs/file_chooser_wnd.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

using test::TempFolder;

std::string real(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) != nullptr ? buffer : path;
}

// A folder of profiles: two of ours (one in capitals, as copied from Windows), a text file, a
// hidden profile and two sub-folders.
class FileChooserTest : public ::testing::Test {
  protected:
    FileChooserTest() : root_(real(folder_.path()) + "/") {
        for (const char* name : {"a.qxp", "B.QXP", "notes.txt", ".hidden.qxp"}) {
            std::ofstream(root_ + name) << std::string(2048, 'x');
        }
        ::mkdir((root_ + "profiles").c_str(), 0700);
        ::mkdir((root_ + "zeta").c_str(), 0700);
        std::ofstream(root_ + "profiles/inner.qxp") << "x";
    }

    static FileChooserRequest request(FileChooserRequest::Mode mode, std::string initial) {
        FileChooserRequest r;
        r.mode = mode;
        r.filter_name = "QX profile (*.qxp)";
        r.patterns = {"*.qxp"};
        r.default_extension = "qxp";
        r.initial_path = std::move(initial);
        return r;
    }

    static std::vector<std::string> names(const CFileChooserWnd& chooser) {
        std::vector<std::string> out;
        for (const FolderEntry& entry : chooser.entries()) {
            out.push_back(entry.name);
        }
        return out;
    }

    static CEditUI& edit(CFileChooserWnd& chooser) {
        return *dynamic_cast<CEditUI*>(chooser.manager().find_control("chooser_name_edit"));
    }

    static void type_name(CFileChooserWnd& chooser, const std::string& name) {
        edit(chooser).set_text("");
        edit(chooser).set_caret(0);
        type_text(chooser, name);
    }

    // The row showing `text`, or null.
    static CListContainerElementUI* row(CFileChooserWnd& chooser, const std::string& text) {
        chooser.paint_now();
        auto* list = dynamic_cast<CListUI*>(chooser.manager().find_control("chooser_list"));
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            if (list->row_at(i)->text() == text) {
                return list->row_at(i);
            }
        }
        return nullptr;
    }

    static void double_click(CFileChooserWnd& chooser, CControlUI& target) {
        const Rect& r = target.pos();
        const intptr_t at = make_point_param(r.left + 20, r.top + r.height() / 2);
        chooser.send_message(WindowMessage::kButtonDown, 1, at);
        chooser.send_message(WindowMessage::kButtonUp, 1, at);
        chooser.send_message(WindowMessage::kDoubleClick, 1, at);
        chooser.send_message(WindowMessage::kButtonUp, 1, at);
    }

    static std::string status(CFileChooserWnd& chooser) {
        return chooser.manager().find_control("chooser_status")->text();
    }

    // Types `name` over the edit's text and presses Enter.
    static void enter(CFileChooserWnd& chooser, const std::string& name) {
        type_name(chooser, name);
        press_key(chooser, kKeyReturn);
    }

    // Still open, nothing chosen, and a word in the status line saying why.
    static bool refused(CFileChooserWnd& chooser) {
        return chooser.is_created() && !chooser.result() && !status(chooser).empty();
    }

    TempFolder folder_;
    std::string root_;
};

TEST_F(FileChooserTest, ListsFoldersThenTheMatchingFiles) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kOpen, root_ + "profile.qxp"));
    ASSERT_TRUE(chooser.open(nullptr));
    EXPECT_EQ(chooser.folder(), root_);
    EXPECT_EQ(names(chooser), (std::vector<std::string>{"profiles", "zeta", "a.qxp", "B.QXP"}));
    ASSERT_NE(row(chooser, "profiles/"), nullptr);
    ASSERT_NE(row(chooser, "B.QXP"), nullptr);
    EXPECT_EQ(row(chooser, "notes.txt"), nullptr);
    EXPECT_EQ(chooser.manager().find_control("chooser_folder")->text(), root_);
    EXPECT_EQ(chooser.manager().find_control("chooser_ok_btn")->text(), "Open");
    EXPECT_EQ(chooser.title(), "Open");
    auto* combo = dynamic_cast<CComboUI*>(chooser.manager().find_control("chooser_filter_combo"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->current_index(), 0);
    // The suggested name is in the edit, ready to be typed over.
    EXPECT_EQ(edit(chooser).text(), "profile.qxp");
    EXPECT_EQ(chooser.manager().focus(), &edit(chooser));
}

TEST_F(FileChooserTest, SavingATypedNameAddsTheExtension) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kSave, root_ + "profile.qxp"));
    ASSERT_TRUE(chooser.open(nullptr));
    EXPECT_EQ(chooser.manager().find_control("chooser_ok_btn")->text(), "Save");
    type_name(chooser, "my profile");
    EXPECT_TRUE(click_control(chooser, "chooser_ok_btn"));
    EXPECT_FALSE(chooser.is_created());
    EXPECT_EQ(chooser.result(), root_ + "my profile.qxp");
}

TEST_F(FileChooserTest, TypingReplacesTheSuggestedNameAsIfItWereSelected) {
    CFileChooserWnd typed(request(FileChooserRequest::Mode::kSave, root_ + "profile.qxp"));
    ASSERT_TRUE(typed.open(nullptr));
    // As a keyboard sends it: the key, then its text.
    press_key(typed, 'M');
    type_text(typed, "m");
    type_text(typed, "ine2");
    EXPECT_EQ(edit(typed).text(), "mine2");

    CFileChooserWnd erased(request(FileChooserRequest::Mode::kSave, root_ + "profile.qxp"));
    ASSERT_TRUE(erased.open(nullptr));
    press_key(erased, kKeyBack);
    EXPECT_EQ(edit(erased).text(), "");

    // A caret key first: the name is kept for editing.
    CFileChooserWnd edited(request(FileChooserRequest::Mode::kSave, root_ + "profile.qxp"));
    ASSERT_TRUE(edited.open(nullptr));
    press_key(edited, kKeyEnd);
    press_key(edited, kKeyBack);
    press_key(edited, kKeyBack);
    press_key(edited, kKeyBack);
    press_key(edited, kKeyBack);
    type_text(edited, "_old");
    press_key(edited, kKeyReturn);
    EXPECT_EQ(edited.result(), root_ + "profile_old.qxp");
}

TEST_F(FileChooserTest, CancelAndEscapeChooseNothing) {
    CFileChooserWnd cancelled(request(FileChooserRequest::Mode::kSave, root_ + "x.qxp"));
    ASSERT_TRUE(cancelled.open(nullptr));
    EXPECT_TRUE(click_control(cancelled, "chooser_cancel_btn"));
    EXPECT_FALSE(cancelled.is_created());
    EXPECT_FALSE(cancelled.result());

    CFileChooserWnd escaped(request(FileChooserRequest::Mode::kOpen, root_ + "a.qxp"));
    ASSERT_TRUE(escaped.open(nullptr));
    press_key(escaped, kKeyEscape);
    EXPECT_FALSE(escaped.is_created());
    EXPECT_FALSE(escaped.result());
}

// By keys alone: Shift+Tab from the name to the list, arrows, Enter into a folder, Backspace
// back up, Enter on a file chooses it; Enter on the Cancel button Tab reached cancels.
TEST_F(FileChooserTest, KeysWalkTheListAndFoldersAndEnterPressesTheButtonReached) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kOpen, root_));
    ASSERT_TRUE(chooser.open(nullptr));
    chooser.send_message(WindowMessage::kKeyDown, kKeyTab, kKeyShiftFlag);
    ASSERT_EQ(chooser.manager().focus()->name(), "chooser_list");
    press_key(chooser, kKeyHome);
    press_key(chooser, kKeyReturn);
    EXPECT_EQ(chooser.folder(), root_ + "profiles/");
    press_key(chooser, kKeyBack);
    EXPECT_EQ(chooser.folder(), root_);
    for (int i = 0; i < 3; ++i) {
        press_key(chooser, kKeyDown);
    }
    EXPECT_EQ(edit(chooser).text(), "a.qxp") << "the row the arrows reached";
    press_key(chooser, kKeyReturn);
    EXPECT_EQ(chooser.result(), root_ + "a.qxp");

    CFileChooserWnd cancelled(request(FileChooserRequest::Mode::kOpen, root_ + "a.qxp"));
    ASSERT_TRUE(cancelled.open(nullptr));
    for (int i = 0; i < 12 && cancelled.manager().focus()->name() != "chooser_cancel_btn"; ++i) {
        press_key(cancelled, kKeyTab);
    }
    press_key(cancelled, kKeyReturn);
    EXPECT_FALSE(cancelled.is_created());
    EXPECT_FALSE(cancelled.result());
}

TEST_F(FileChooserTest, ADoubleClickOnAFolderEntersItAndUpComesBack) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kOpen, root_));
    ASSERT_TRUE(chooser.open(nullptr));
    CListContainerElementUI* profiles = row(chooser, "profiles/");
    ASSERT_NE(profiles, nullptr);
    double_click(chooser, *profiles);
    EXPECT_TRUE(chooser.is_created());
    EXPECT_EQ(chooser.folder(), root_ + "profiles/");
    EXPECT_EQ(names(chooser), std::vector<std::string>{"inner.qxp"});

    EXPECT_TRUE(click_control(chooser, "chooser_up_btn"));
    EXPECT_EQ(chooser.folder(), root_);
    EXPECT_FALSE(chooser.result());
}

TEST_F(FileChooserTest, ASingleClickOnAFolderOnlySelectsIt) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kOpen, root_ + "a.qxp"));
    ASSERT_TRUE(chooser.open(nullptr));
    ASSERT_NE(row(chooser, "zeta/"), nullptr);
    EXPECT_TRUE(click_control(chooser, row(chooser, "zeta/")->name()));
    EXPECT_EQ(chooser.folder(), root_);
    EXPECT_EQ(edit(chooser).text(), "a.qxp");
    // OK with no name on a selected folder enters it.
    type_name(chooser, "");
    EXPECT_TRUE(click_control(chooser, "chooser_ok_btn"));
    EXPECT_EQ(chooser.folder(), root_ + "zeta/");
    EXPECT_TRUE(chooser.is_created());
}

TEST_F(FileChooserTest, AClickOnAFileTakesItsNameAndADoubleClickChoosesIt) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kOpen, root_));
    ASSERT_TRUE(chooser.open(nullptr));
    ASSERT_NE(row(chooser, "B.QXP"), nullptr);
    EXPECT_TRUE(click_control(chooser, row(chooser, "B.QXP")->name()));
    EXPECT_EQ(edit(chooser).text(), "B.QXP");
    EXPECT_TRUE(chooser.is_created());

    double_click(chooser, *row(chooser, "a.qxp"));
    EXPECT_FALSE(chooser.is_created());
    EXPECT_EQ(chooser.result(), root_ + "a.qxp");
}

TEST_F(FileChooserTest, OpeningAMissingFileSaysSoAndStaysOpen) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kOpen, root_));
    ASSERT_TRUE(chooser.open(nullptr));
    enter(chooser, "missing.qxp");
    EXPECT_TRUE(refused(chooser));
    // Without its extension the name finds the profile.
    enter(chooser, "a");
    EXPECT_EQ(chooser.result(), root_ + "a.qxp");
}

TEST_F(FileChooserTest, ATypedFolderIsEnteredNotChosen) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kSave, root_));
    ASSERT_TRUE(chooser.open(nullptr));
    enter(chooser, "profiles");
    EXPECT_TRUE(chooser.is_created());
    EXPECT_EQ(chooser.folder(), root_ + "profiles/");
    EXPECT_EQ(edit(chooser).text(), "");
    // An absolute path works as well.
    enter(chooser, root_ + "zeta");
    EXPECT_EQ(chooser.folder(), root_ + "zeta/");
}

TEST_F(FileChooserTest, SavingIntoAMissingFolderIsRefused) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kSave, root_));
    ASSERT_TRUE(chooser.open(nullptr));
    enter(chooser, "nowhere/new");
    EXPECT_TRUE(refused(chooser));
    enter(chooser, "profiles");  // a folder's name: entered, not saved over
    EXPECT_EQ(chooser.folder(), root_ + "profiles/");
    enter(chooser, "new");
    EXPECT_EQ(chooser.result(), root_ + "profiles/new.qxp");
}

// Saving over a profile that exists asks first: Cancel (or Escape) goes back to choosing with
// nothing chosen, changing the name drops the question, Replace (or Enter) chooses the file.
TEST_F(FileChooserTest, SavingOverAnExistingFileAsksBeforeReplacingIt) {
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kSave, root_ + "profile.qxp"));
    ASSERT_TRUE(chooser.open(nullptr));
    CControlUI* question = chooser.manager().find_control("chooser_replace_text");
    ASSERT_NE(question, nullptr);
    enter(chooser, "a");  // the extension added names a.qxp, which is there
    EXPECT_TRUE(chooser.is_created());
    EXPECT_FALSE(chooser.result());
    EXPECT_EQ(chooser.replace_question(), root_ + "a.qxp");
    EXPECT_EQ(question->text(), "a.qxp already exists. Replace it?");
    EXPECT_FALSE(click_control(chooser, "chooser_ok_btn"));  // its row gave way to the question

    EXPECT_TRUE(click_control(chooser, "chooser_replace_cancel_btn"));
    EXPECT_TRUE(chooser.is_created());
    EXPECT_FALSE(chooser.result());
    EXPECT_FALSE(chooser.replace_question());
    EXPECT_FALSE(click_control(chooser, "chooser_replace_btn"));
    EXPECT_EQ(edit(chooser).text(), "a");  // back to choosing, the name kept

    // Escape while asking goes back too, not out of the chooser.
    EXPECT_TRUE(click_control(chooser, "chooser_ok_btn"));
    ASSERT_TRUE(chooser.replace_question());
    press_key(chooser, kKeyEscape);
    EXPECT_TRUE(chooser.is_created());
    EXPECT_FALSE(chooser.replace_question());

    // Typing another name drops the question about the old one.
    press_key(chooser, kKeyReturn);
    ASSERT_TRUE(chooser.replace_question());
    type_text(chooser, "2");
    EXPECT_FALSE(chooser.replace_question());
    EXPECT_FALSE(chooser.result());

    // A double click on an existing file asks as well; Replace chooses it.
    double_click(chooser, *row(chooser, "B.QXP"));
    EXPECT_EQ(chooser.replace_question(), root_ + "B.QXP");
    EXPECT_TRUE(click_control(chooser, "chooser_replace_btn"));
    EXPECT_FALSE(chooser.is_created());
    EXPECT_EQ(chooser.result(), root_ + "B.QXP");

    // Enter answers the question with Replace, as the lit button says.
    CFileChooserWnd entered(request(FileChooserRequest::Mode::kSave, root_ + "a.qxp"));
    ASSERT_TRUE(entered.open(nullptr));
    press_key(entered, kKeyReturn);
    ASSERT_EQ(entered.replace_question(), root_ + "a.qxp");
    press_key(entered, kKeyReturn);
    EXPECT_EQ(entered.result(), root_ + "a.qxp");
}

// Only an existing file is asked about: a new name is chosen at once, and opening never asks.
TEST_F(FileChooserTest, NewNamesAndOpeningAreNeverAsked) {
    CFileChooserWnd saved(request(FileChooserRequest::Mode::kSave, root_ + "profile.qxp"));
    ASSERT_TRUE(saved.open(nullptr));
    enter(saved, "a.qxp.new");
    EXPECT_FALSE(saved.replace_question());
    EXPECT_EQ(saved.result(), root_ + "a.qxp.new");

    CFileChooserWnd opened(request(FileChooserRequest::Mode::kOpen, root_ + "profile.qxp"));
    ASSERT_TRUE(opened.open(nullptr));
    enter(opened, "a");
    EXPECT_FALSE(opened.replace_question());
    EXPECT_EQ(opened.result(), root_ + "a.qxp");
    CFileChooserWnd clicked(request(FileChooserRequest::Mode::kOpen, root_));
    ASSERT_TRUE(clicked.open(nullptr));
    double_click(clicked, *row(clicked, "B.QXP"));
    EXPECT_FALSE(clicked.replace_question());
    EXPECT_EQ(clicked.result(), root_ + "B.QXP");
}

// After a desktop chooser: the extension we add may name a file it never asked about.
TEST_F(FileChooserTest, AnAddedExtensionNamingAnExistingFileIsUnasked) {
    const SaveChoice typed = completed_save_choice(root_ + "a", "qxp");
    EXPECT_EQ(typed.path, root_ + "a.qxp");
    EXPECT_TRUE(typed.unasked_replace);
    // Chosen with its extension: the chooser asked about that very file.
    EXPECT_FALSE(completed_save_choice(root_ + "a.qxp", "qxp").unasked_replace);
    const SaveChoice fresh = completed_save_choice(root_ + "fresh", "qxp");
    EXPECT_EQ(fresh.path, root_ + "fresh.qxp");
    EXPECT_FALSE(fresh.unasked_replace);
    // A folder of that name is no file to replace (the write then fails and says so).
    ::mkdir((root_ + "dir.qxp").c_str(), 0700);
    EXPECT_FALSE(completed_save_choice(root_ + "dir", "qxp").unasked_replace);
    EXPECT_FALSE(completed_save_choice(root_ + "a", "").unasked_replace);
}

TEST_F(FileChooserTest, TheAllFilesFilterShowsEveryFile) {
    FileChooserRequest r = request(FileChooserRequest::Mode::kOpen, root_);
    r.offer_all_files = true;
    CFileChooserWnd chooser(r);
    ASSERT_TRUE(chooser.open(nullptr));
    auto* combo = dynamic_cast<CComboUI*>(chooser.manager().find_control("chooser_filter_combo"));
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->select_item(1));
    EXPECT_EQ(names(chooser),
              (std::vector<std::string>{"profiles", "zeta", "a.qxp", "B.QXP", "notes.txt"}));
    ASSERT_TRUE(combo->select_item(0));
    EXPECT_EQ(names(chooser), (std::vector<std::string>{"profiles", "zeta", "a.qxp", "B.QXP"}));
}

TEST_F(FileChooserTest, AMissingInitialFolderFallsBackToTheNearestOneThere) {
    CFileChooserWnd chooser(
        request(FileChooserRequest::Mode::kSave, root_ + "gone/deeper/profile.qxp"));
    ASSERT_TRUE(chooser.open(nullptr));
    EXPECT_EQ(chooser.folder(), root_);
    EXPECT_EQ(edit(chooser).text(), "profile.qxp");
    EXPECT_FALSE(chooser.change_folder("/nonexistent/folder"));
    EXPECT_EQ(chooser.folder(), root_);
    EXPECT_TRUE(refused(chooser));
}

TEST_F(FileChooserTest, AFolderThatCannotBeReadKeepsTheOneShown) {
    ::chmod((root_ + "zeta").c_str(), 0);
    CFileChooserWnd chooser(request(FileChooserRequest::Mode::kOpen, root_));
    ASSERT_TRUE(chooser.open(nullptr));
    if (::access((root_ + "zeta").c_str(), R_OK) == 0) {
        GTEST_SKIP() << "running with rights that read any folder";
    }
    double_click(chooser, *row(chooser, "zeta/"));
    EXPECT_EQ(chooser.folder(), root_);
    EXPECT_FALSE(status(chooser).empty());
    ::chmod((root_ + "zeta").c_str(), 0700);
}

}  // namespace
}  // namespace talvoro::ui
