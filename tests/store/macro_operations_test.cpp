#include "store/macro_operations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "store/button_function.h"
#include "store/macro_files.h"
#include "store/profile_files.h"
#include "store/store_defaults.h"
#include "store/store_text.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

// Packed int fields are passed to gtest as values (unary +): it binds its
// arguments to references, which a packed field cannot align.

using test::ScopedEnv;
using test::TempFolder;

struct NameRow {
    std::string control;
    std::string text;
    bool operator==(const NameRow&) const = default;
};

// A step row holds the step it was handed, as "kind|text|action": the
// view words it, so the store's part is handing over the right step.
struct StepRow {
    MacroRowKind kind;
    std::string step;
    bool operator==(const StepRow&) const = default;
};

std::string step_fields(const MacroStep& step) {
    return std::string(field_text(step.kind)) + "|" + std::string(field_text(step.text)) + "|" +
           std::string(field_text(step.action));
}

// The two lists of the macro page, as plain vectors; a row outside them
// throws, which fails the test.
class RecordingView : public MacroListView {
  public:
    void clear_name_rows() override { names.clear(); }
    void append_name_row(const std::string& control, const std::string& name) override {
        names.push_back({control, name});
    }
    void remove_name_row(int row) override { names.erase(names.begin() + index(row, names)); }
    void rename_name_row(int row, const std::string& control) override {
        names.at(row).control = control;
    }
    void set_name_row_text(int row, const std::string& name) override { names.at(row).text = name; }
    void clear_step_rows() override { steps.clear(); }
    void add_step_row(int row, bool insert, MacroRowKind kind, const MacroStep& step) override {
        steps.insert(steps.begin() + index(row, steps, 1), {kind, step_fields(step)});
        if (insert)
            selected_step = row;
    }
    void remove_step_row(int row) override { steps.erase(steps.begin() + index(row, steps)); }
    void set_step_row(int row, const MacroStep& step) override {
        steps.at(row).step = step_fields(step);
    }

    std::vector<NameRow> names;
    std::vector<StepRow> steps;
    int selected_step = -1;

  private:
    template <typename Rows>
    static int index(int row, const Rows& rows, size_t past_end = 0) {
        if (row < 0 || static_cast<size_t>(row) >= rows.size() + past_end)
            throw std::out_of_range("row " + std::to_string(row));
        return row;
    }
};

class MacroOperations : public ::testing::Test {
  protected:
    MacroOperations() {
        EXPECT_TRUE(ensure_program_folders());
        reset_all_profiles(*store_, 140);
    }
    MacroStore& macros() { return store_->macro_store; }
    std::string name(int index) { return macros().macros[index].name; }
    void make_macros(int count) {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(editor_.new_macro());
    }
    const MacroStep& step(int index) {
        return macros().macros[editor_.current_macro()].steps[index];
    }

    TempFolder folder_;
    ScopedEnv data_dir_{"TALVORO_DATA_DIR", folder_.path()};
    std::unique_ptr<ProfileStore> store_ = std::make_unique<ProfileStore>();
    RecordingView view_;
    MacroEditor editor_{*store_, view_};
};

TEST_F(MacroOperations, FifteenNewMacrosThenRefusal) {
    make_macros(15);
    ASSERT_EQ(view_.names.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(name(i), "Macro_" + std::to_string(i + 1));
        EXPECT_EQ(view_.names[i], (NameRow{"macro_file_name_" + std::to_string(i + 1), name(i)}));
        EXPECT_EQ(+macros().macros[i].number, 0);
    }
    EXPECT_FALSE(editor_.new_macro());
    EXPECT_EQ(+macros().macro_count, 15);
    EXPECT_EQ(macros().macros[15].name[0], 0);
    EXPECT_EQ(view_.names.size(), 15u);
}

TEST_F(MacroOperations, NewMacroTakesAnAsteriskOnAClashAndStartsEmpty) {
    make_macros(1);
    editor_.rename_macro(0, "Macro_2");
    macros().macros[1].step_count = 7;  // left behind by a file
    ASSERT_TRUE(editor_.new_macro());
    EXPECT_EQ(name(1), "Macro_2*");
    EXPECT_EQ(+macros().macros[1].step_count, 0);
}

TEST_F(MacroOperations, RenameAppendsAsterisksWhileTheNameIsTaken) {
    make_macros(3);
    EXPECT_EQ(editor_.rename_macro(0, "Macro_2"), "Macro_2*");
    EXPECT_EQ(view_.names[0].text, "Macro_2*");
    EXPECT_EQ(editor_.rename_macro(2, "Macro_2"), "Macro_2**");
    EXPECT_EQ(name(2), "Macro_2**");
    // Empty: the field is cleared, and the empty records beyond the macros
    // in use make it clash once.
    EXPECT_EQ(editor_.rename_macro(1, ""), "*");
    EXPECT_FALSE(editor_.rename_macro(3, "x"));
    EXPECT_FALSE(editor_.rename_macro(-1, "x"));

    // Long names are cut to 255 bytes, and a full name still gets its asterisk.
    EXPECT_EQ(editor_.rename_macro(0, std::string(300, 'a'))->size(), 255u);
    const std::optional<std::string> second = editor_.rename_macro(1, std::string(255, 'a'));
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, std::string(254, 'a') + "*");
    EXPECT_NE(name(0), name(1));
}

TEST_F(MacroOperations, DeletingTheMiddleOfThreeMovesTheLastAndFixesButtons) {
    make_macros(3);
    editor_.rename_macro(2, "Third");
    macros().macros[2].step_count = 1;
    store_->profiles[0].button_function[3] = kMacro;
    store_->profiles[0].button_param[3] = 3;  // plays macro 3
    store_->profiles[4].button_function[7] = kMacro;
    store_->profiles[4].button_param[7] = 2;  // plays the deleted macro
    store_->profiles[4].button_function[0] = kMacro;
    store_->profiles[4].button_param[0] = 1;  // plays macro 1
    store_->profiles[2].button_function[5] = kSingleKey;
    store_->profiles[2].button_param[5] = 3;  // a key, not a macro

    ASSERT_TRUE(editor_.delete_macro(1));
    EXPECT_EQ(+macros().macro_count, 2);
    EXPECT_EQ(name(1), "Third");
    EXPECT_EQ(+macros().macros[1].step_count, 1);
    EXPECT_EQ(+macros().macros[2].name[0], 0);
    EXPECT_EQ(+store_->profiles[0].button_param[3], 2);
    EXPECT_EQ(+store_->profiles[4].button_function[7], kDisable);  // factory function of button 8
    EXPECT_EQ(+store_->profiles[4].button_param[7], 0);
    EXPECT_EQ(+store_->profiles[4].button_param[0], 1);
    EXPECT_EQ(+store_->profiles[2].button_param[5], 3);
    EXPECT_EQ(view_.names, (std::vector<NameRow>{{"macro_file_name_1", "Macro_1"},
                                                 {"macro_file_name_2", "Third"}}));
    // The store file holds the result.
    auto from_file = std::make_unique<MacroStore>();
    ASSERT_EQ(read_macro_store(*from_file, {}), kStoreRead);
    EXPECT_EQ(std::memcmp(from_file.get(), &macros(), sizeof(MacroStore)), 0);
}

TEST_F(MacroOperations, DeletingTheOnlyMacroClearsTheTableAndBadIndexesDoNothing) {
    make_macros(2);
    const auto before = std::make_unique<MacroStore>(macros());
    EXPECT_FALSE(editor_.delete_macro(2));  // == macro_count: no such macro
    EXPECT_FALSE(editor_.delete_macro(-1));
    EXPECT_EQ(std::memcmp(before.get(), &macros(), sizeof(MacroStore)), 0);

    ASSERT_TRUE(editor_.delete_macro(0));
    std::strcpy(macros().macros[17].name, "stale");
    ASSERT_TRUE(editor_.delete_macro(0));
    EXPECT_EQ(+macros().macro_count, 0);
    EXPECT_EQ(+macros().macros[17].name[0], 0);
    EXPECT_TRUE(view_.names.empty());
}

TEST_F(MacroOperations, AddStepAppendsOrInsertsAndFillsTheStep) {
    make_macros(1);
    ASSERT_TRUE(editor_.add_step(kRowKeyDown, " A ", false, 0));
    ASSERT_TRUE(editor_.add_step(kRowKeyUp, " A ", false, 0));
    ASSERT_TRUE(editor_.add_step(kRowDelay, "0.050", true, 1));
    EXPECT_EQ(view_.selected_step, 1);
    ASSERT_TRUE(editor_.add_step(kRowMouseRelease, "Left Click        ", true, 3));
    const char* kinds[] = {"k", "t", "k", "m"};
    const char* actions[] = {"down", "", "up", "up"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(step(i).kind, kinds[i]);
        EXPECT_STREQ(step(i).action, actions[i]);
    }
    EXPECT_EQ(view_.steps, (std::vector<StepRow>{{kRowKeyDown, "k| A |down"},
                                                 {kRowDelay, "t|0.050|"},
                                                 {kRowKeyUp, "k| A |up"},
                                                 {kRowMouseRelease, "m|Left Click        |up"}}));

    EXPECT_FALSE(editor_.add_step(kRowKeyDown, " B ", true, 5));  // beyond the rows
    EXPECT_FALSE(editor_.add_step(kRowKeyDown, "", false, 0));
    EXPECT_FALSE(editor_.add_step(static_cast<MacroRowKind>(9), " B ", false, 0));
    EXPECT_EQ(+macros().macros[0].step_count, 4);
    EXPECT_EQ(view_.steps.size(), 4u);
}

TEST_F(MacroOperations, AMacroOf256StepsTakesNoMore) {
    make_macros(2);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(editor_.add_step(kRowKeyDown, " Z ", false, 0)) << i;
    EXPECT_FALSE(editor_.add_step(kRowKeyDown, " Z ", false, 0));
    EXPECT_EQ(+macros().macros[0].step_count, 256);
    EXPECT_EQ(macros().macros[1].name, std::string("Macro_2"));  // the next record untouched
}

TEST_F(MacroOperations, EditAndDeleteSteps) {
    make_macros(1);
    EXPECT_TRUE(editor_.add_step(kRowKeyDown, " A ", false, 0));
    EXPECT_TRUE(editor_.add_step(kRowDelay, "0.050", false, 0));
    EXPECT_FALSE(editor_.edit_delay(0, 1500));  // a key step stays as it is
    EXPECT_STREQ(step(0).text, " A ");
    ASSERT_TRUE(editor_.edit_delay(1, 1500));
    EXPECT_STREQ(step(1).text, "1.500");
    EXPECT_EQ(view_.steps[1].step, "t|1.500|");
    EXPECT_FALSE(editor_.edit_delay(2, 10));

    EXPECT_FALSE(editor_.delete_step(2));
    ASSERT_TRUE(editor_.delete_step(0));
    EXPECT_EQ(+macros().macros[0].step_count, 1);
    EXPECT_STREQ(step(0).kind, "t");
    EXPECT_EQ(step(1).kind[0], 0);
    ASSERT_TRUE(editor_.delete_step(0));
    EXPECT_EQ(+macros().macros[0].step_count, 0);
    EXPECT_TRUE(view_.steps.empty());
}

// A step that is not listed (here a key whose action the mouse reported as
// "unknown") must not shift which step a row stands for.
TEST_F(MacroOperations, RowsNameTheStepsTheyShowWhenSomeStepsAreNotListed) {
    make_macros(1);
    MacroRecord& record = macros().macros[0];
    record.step_count = 3;
    std::strcpy(record.steps[0].kind, "k");
    std::strcpy(record.steps[0].text, " A ");
    std::strcpy(record.steps[0].action, "down");
    std::strcpy(record.steps[1].kind, "k");
    std::strcpy(record.steps[1].text, "unknown");
    std::strcpy(record.steps[1].action, "unknown");
    std::strcpy(record.steps[2].kind, "t");
    std::strcpy(record.steps[2].text, "0.050");
    editor_.list_steps(0);
    ASSERT_EQ(view_.steps.size(), 2u);
    EXPECT_EQ(view_.steps[1], (StepRow{kRowDelay, "t|0.050|"}));

    ASSERT_TRUE(editor_.edit_delay(1, 250));
    EXPECT_STREQ(record.steps[2].text, "0.250");
    EXPECT_EQ(view_.steps[1].step, "t|0.250|");
    EXPECT_STREQ(record.steps[1].text, "unknown");
    ASSERT_TRUE(editor_.delete_step(1));
    EXPECT_EQ(+record.step_count, 2);
    EXPECT_STREQ(record.steps[1].text, "unknown");
    ASSERT_TRUE(editor_.add_step(kRowDelay, "0.010", true, 1));  // right after " A "
    EXPECT_STREQ(record.steps[1].text, "0.010");
    EXPECT_STREQ(record.steps[2].text, "unknown");
}

TEST_F(MacroOperations, ImportRebuildsTheListsFromMacroZero) {
    make_macros(3);
    editor_.set_current_macro(2);
    EXPECT_TRUE(editor_.add_step(kRowKeyDown, " Q ", false, 0));
    ASSERT_EQ(export_macro_file(macros(), folder_.file("three.qxm")), 1);
    editor_.delete_macro(0);
    editor_.delete_macro(0);

    ASSERT_EQ(editor_.import_macros(folder_.file("three.qxm")), kStoreRead);
    EXPECT_EQ(view_.names.size(), 3u);
    EXPECT_EQ(view_.names[2], (NameRow{"macro_file_name_3", "Macro_3"}));
    EXPECT_EQ(editor_.current_macro(), 0);
    EXPECT_TRUE(view_.steps.empty());  // macro 0 has no step
    editor_.list_steps(2);
    EXPECT_EQ(view_.steps, (std::vector<StepRow>{{kRowKeyDown, "k| Q |down"}}));
    EXPECT_EQ(editor_.import_macros(folder_.file("missing.qxm")), kStoreCannotOpen);
    EXPECT_EQ(view_.names.size(), 3u);
}

}  // namespace
}  // namespace talvoro
