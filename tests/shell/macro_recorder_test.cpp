#include "shell/pages/macro_recorder.h"
#include "store/macro_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/list.h"
#include "core/list_container_element.h"
#include "core/notify.h"
#include "diagnostics/window_driver.h"
#include "shell/language/macro_step_texts.h"
#include "shell/oskel_main_wnd.h"
#include "shell_fixture.h"
#include "store/macro_operations.h"
#include "store/profile_store.h"

namespace talvoro::shell {
namespace {

using std::chrono::milliseconds;
using Kind = RecordedInput::Kind;
using Clock = MacroRecorder::Clock;

struct Row {
    MacroRowKind kind;
    std::string text;
    bool operator==(const Row&) const = default;
};

// The step list of the macro page as a plain vector of English row texts; a row out of place
// throws.
class StepRows final : public MacroListView {
  public:
    void clear_name_rows() override {}
    void append_name_row(const std::string&, const std::string&) override {}
    void remove_name_row(int) override {}
    void rename_name_row(int, const std::string&) override {}
    void set_name_row_text(int, const std::string&) override {}
    void clear_step_rows() override { rows.clear(); }
    void add_step_row(int row, bool insert, MacroRowKind kind, const MacroStep& step) override {
        if (insert || row != static_cast<int>(rows.size()))
            throw std::logic_error("the recorder only appends");
        rows.push_back({kind, step_display_text(step, 0).value_or("")});
    }
    void remove_step_row(int) override { throw std::logic_error("no removal"); }
    void set_step_row(int, const MacroStep&) override { throw std::logic_error("no edit"); }

    std::vector<Row> rows;
};

// A step of the store as "kind|text|action".
std::string step_of(const MacroRecord& macro, int index) {
    const MacroStep& step = macro.steps[index];
    return std::string(step.kind) + "|" + step.text + "|" + step.action;
}

std::vector<std::string> steps_of(const MacroRecord& macro) {
    std::vector<std::string> steps;
    const int32_t count = macro.step_count;
    for (int s = 0; s < count; ++s)
        steps.push_back(step_of(macro, s));
    return steps;
}

RecordedInput key(Kind kind, int code) {
    return {kind, code, {}};
}
RecordedInput button(Kind kind, int code, int x = 600, int y = 400) {
    return {kind, code, {x, y}};
}
RecordedInput wheel(int notches) {
    return {Kind::kWheel, notches, {}};
}

class MacroRecorderTest : public ::testing::Test {
  protected:
    MacroRecorderTest() {
        EXPECT_TRUE(editor_.new_macro());
        EXPECT_TRUE(editor_.new_macro());
    }
    const MacroRecord& macro(int index) const { return store_->macro_store.macros[index]; }
    bool at(int ms, const RecordedInput& input) {
        return recorder_.on_input(input, t0_ + milliseconds(ms));
    }

    std::unique_ptr<ProfileStore> store_ = std::make_unique<ProfileStore>();
    StepRows view_;
    MacroEditor editor_{*store_, view_};
    MacroRecorder recorder_{editor_};
    Clock::time_point t0_ = Clock::now();
};

TEST_F(MacroRecorderTest, MeasuredDelaysBetweenKeysAfterDiscardingTheOldSteps) {
    editor_.set_current_macro(1);
    ASSERT_TRUE(editor_.add_step(kRowKeyDown, " B ", false, 0));
    ASSERT_TRUE(editor_.add_step(kRowDelay, "0.100", false, 0));
    EXPECT_FALSE(recorder_.on_input(key(Kind::kKeyDown, 'A'), t0_));  // not recording yet

    recorder_.start(1, RecordDelayMode::kMeasured, 0);
    EXPECT_TRUE(recorder_.recording());
    EXPECT_EQ(editor_.current_macro(), 1);
    EXPECT_EQ(+macro(1).step_count, 0);
    EXPECT_EQ(macro(1).steps[0].kind[0], 0);
    EXPECT_TRUE(view_.rows.empty());

    EXPECT_FALSE(at(0, key(Kind::kKeyDown, 'A')));
    // 1.2349 s is cut to 1.234, never rounded.
    EXPECT_FALSE(
        recorder_.on_input(key(Kind::kKeyUp, 'A'), t0_ + std::chrono::microseconds(1'234'900)));
    EXPECT_FALSE(at(1300, key(Kind::kKeyDown, 0xA0)));  // left Shift is Shift
    EXPECT_FALSE(at(1800, key(Kind::kKeyDown, 0xA0)));  // its auto-repeat: another press
    EXPECT_FALSE(at(62'005, key(Kind::kKeyUp, 0xA1)));
    EXPECT_EQ(steps_of(macro(1)),
              (std::vector<std::string>{"k| A |down", "t|1.234|", "k| A |up", "t|0.065|",
                                        "k| Shift |down", "t|0.500|", "k| Shift |down", "t|60.205|",
                                        "k| Shift |up"}));
    ASSERT_EQ(view_.rows.size(), 9u);
    EXPECT_EQ(view_.rows[0], (Row{kRowKeyDown, " A "}));
    EXPECT_EQ(view_.rows[1], (Row{kRowDelay, "1.234 Sec Delay "}));
    EXPECT_EQ(view_.rows[2], (Row{kRowKeyUp, " A "}));
    EXPECT_EQ(+macro(0).step_count, 0);  // the other macro is untouched

    recorder_.stop();
    EXPECT_FALSE(recorder_.recording());
    EXPECT_FALSE(at(63'000, key(Kind::kKeyDown, 'A')));
    EXPECT_EQ(+macro(1).step_count, 9);
}

TEST_F(MacroRecorderTest, NoDelaysAndFixedDelays) {
    recorder_.start(0, RecordDelayMode::kNone, 0);
    at(0, key(Kind::kKeyDown, 'Z'));
    at(700, key(Kind::kKeyUp, 'Z'));
    at(5000, key(Kind::kKeyDown, 0x70));
    EXPECT_EQ(steps_of(macro(0)),
              (std::vector<std::string>{"k| Z |down", "k| Z |up", "k| F1 |down"}));

    // A new recording starts over, with the fixed delay before every step but the first.
    recorder_.start(0, RecordDelayMode::kFixed, 50);
    at(0, key(Kind::kKeyDown, 'Z'));
    at(3, key(Kind::kKeyUp, 'Z'));
    at(9000, button(Kind::kButtonDown, 3));
    EXPECT_EQ(steps_of(macro(0)),
              (std::vector<std::string>{"k| Z |down", "t|0.050|", "k| Z |up", "t|0.050|",
                                        "m|Right Click       |down"}));

    recorder_.start(0, RecordDelayMode::kFixed, 61'234);
    at(0, key(Kind::kKeyDown, 'Z'));
    at(1, key(Kind::kKeyUp, 'Z'));
    EXPECT_EQ(step_of(macro(0), 1), "t|61.234|");
}

TEST_F(MacroRecorderTest, ButtonsExtraButtonsAndOneStepPerWheelNotch) {
    recorder_.start(0, RecordDelayMode::kNone, 0);
    for (int code = 1; code <= 5; ++code) {
        at(code * 10, button(Kind::kButtonDown, code));
        at(code * 10 + 5, button(Kind::kButtonUp, code));
    }
    at(100, button(Kind::kButtonDown, 6));  // no such button
    at(110, wheel(3));
    at(120, wheel(0));
    at(130, wheel(-1));
    EXPECT_EQ(
        steps_of(macro(0)),
        (std::vector<std::string>{
            "m|Left Click        |down", "m|Left Click        |up", "m|Scroll Wheel Click|down",
            "m|Scroll Wheel Click|up", "m|Right Click       |down", "m|Right Click       |up",
            "m|Browser Backward  |down", "m|Browser Backward  |up", "m|Browser Forward   |down",
            "m|Browser Forward   |up", "m|Scroll Wheel Up   |up", "m|Scroll Wheel Up   |up",
            "m|Scroll Wheel Up   |up", "m|Scroll Wheel Down |down"}));
    ASSERT_EQ(view_.rows.size(), 14u);
    EXPECT_EQ(view_.rows[6], (Row{kRowMousePress, "Browser Backward   Down "}));
    EXPECT_EQ(view_.rows[7], (Row{kRowMouseRelease, "Browser Backward   Up   "}));
    EXPECT_EQ(view_.rows[10], (Row{kRowWheelUp, "Scroll Wheel Up    Up   "}));
    EXPECT_EQ(view_.rows[13], (Row{kRowWheelDown, "Scroll Wheel Down  Down "}));
}

TEST_F(MacroRecorderTest, FirstReleaseIgnoredAreaAndUnknownKeysLeaveNoStepOrDelay) {
    recorder_.set_ignored_area(ui::Rect{100, 10, 200, 40});
    recorder_.start(0, RecordDelayMode::kMeasured, 0);
    // The release of a button held before the recording began.
    EXPECT_FALSE(at(0, button(Kind::kButtonUp, 1)));
    EXPECT_EQ(+macro(0).step_count, 0);
    // The first step has no delay before it.
    at(400, button(Kind::kButtonDown, 1));
    // The left button inside the stop button's area is not recorded, and the time keeps
    // running; another button there is.
    at(900, button(Kind::kButtonDown, 1, 150, 20));
    at(950, button(Kind::kButtonDown, 3, 100, 10));
    at(1000, key(Kind::kKeyDown, 0x07));
    at(1100, key(Kind::kKeyDown, 0xE7));
    at(1200, key(Kind::kKeyUp, 300));
    at(2400, button(Kind::kButtonUp, 1, 200, 40));  // just outside
    EXPECT_EQ(steps_of(macro(0)), (std::vector<std::string>{"m|Left Click        |down", "t|0.550|",
                                                            "m|Right Click       |down", "t|1.450|",
                                                            "m|Left Click        |up"}));

    // A key release is a step even as the first input.
    recorder_.start(1, RecordDelayMode::kMeasured, 0);
    at(5000, key(Kind::kKeyUp, 'Q'));
    EXPECT_EQ(steps_of(macro(1)), (std::vector<std::string>{"k| Q |up"}));
}

TEST_F(MacroRecorderTest, FullMacroStopsTakingStepsAndSaysSoOnce) {
    recorder_.start(0, RecordDelayMode::kNone, 0);
    int full_reports = 0;
    for (int i = 0; i < 300; ++i)
        full_reports += at(i, key(i % 2 == 0 ? Kind::kKeyDown : Kind::kKeyUp, 'K')) ? 1 : 0;
    EXPECT_EQ(full_reports, 1);
    EXPECT_EQ(+macro(0).step_count, kMacroSteps);
    EXPECT_EQ(view_.rows.size(), 256u);
    EXPECT_TRUE(recorder_.recording());  // until the stop button

    // With delays a step takes two slots: the last one stays free rather than hold a delay
    // without its step; a wheel turn stops in the middle of its notches.
    recorder_.start(1, RecordDelayMode::kMeasured, 0);
    full_reports = 0;
    for (int i = 0; i < 126; ++i)
        full_reports += at(i, key(Kind::kKeyDown, 'K')) ? 1 : 0;
    EXPECT_EQ(+macro(1).step_count, 251);
    full_reports += at(200, wheel(-5)) ? 1 : 0;
    full_reports += at(300, wheel(-5)) ? 1 : 0;
    full_reports += at(400, key(Kind::kKeyDown, 'K')) ? 1 : 0;
    EXPECT_EQ(full_reports, 1);
    EXPECT_EQ(+macro(1).step_count, 255);
    EXPECT_EQ(step_of(macro(1), 253), "t|0.000|");
    EXPECT_EQ(step_of(macro(1), 254), "m|Scroll Wheel Down |down");

    // Stopping and starting again gives an empty macro and a new report.
    recorder_.stop();
    recorder_.start(0, RecordDelayMode::kNone, 0);
    EXPECT_EQ(+macro(0).step_count, 0);
    full_reports = 0;
    for (int i = 0; i < 257; ++i)
        full_reports += at(i, wheel(1)) ? 1 : 0;
    EXPECT_EQ(full_reports, 1);
    EXPECT_EQ(+macro(0).step_count, kMacroSteps);
}

// The window while recording: every key, button and wheel message goes to the recorder and no
// control sees it, except the click on the stop button.
class RecordingWindowTest : public test::ShellTest, public ui::INotifyUI {
  protected:
    void notify(ui::TNotifyUI& msg) override {
        heard.push_back(msg.type + ":" + (msg.sender != nullptr ? msg.sender->name() : "-"));
    }
    void send(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam = 0) {
        window_->send_message(msg, wparam, lparam);
        pump();
    }
    static intptr_t centre(const ui::CControlUI* control) {
        const ui::Rect pos = control->pos();
        return ui::make_point_param((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    }

    std::vector<std::string> heard;
};

TEST_F(RecordingWindowTest, InputGoesToTheRecorderAndOnlyTheStopButtonIsClicked) {
    start_mouse();
    open_window();
    click("macromanagebtn");
    auto* edit = control("default_delay_time_edit");
    auto* new_btn = control("macro_new_btn");
    auto* stop_btn = control("macro_record_stop_btn");
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(new_btn, nullptr);
    ASSERT_NE(stop_btn, nullptr);
    const std::string edit_text = edit->text();

    // A new macro, recorded without delays, from the page's own buttons.
    click("macro_new_btn");
    auto* names = dynamic_cast<ui::CListUI*>(control("macro_name_list"));
    ASSERT_NE(names, nullptr);
    ASSERT_NE(names->row_at(0), nullptr);
    window_->send_message(ui::WindowMessage::kMouseMove, 0, centre(names->row_at(0)));
    send(ui::WindowMessage::kButtonDown, 1, centre(names->row_at(0)));
    send(ui::WindowMessage::kButtonUp, 1, centre(names->row_at(0)));
    click("ignore_delay_option");
    ASSERT_TRUE(option("ignore_delay_option")->is_selected());
    click("macro_record_btn");
    ASSERT_TRUE(window_->recording());
    // A click while recording is recorded, and focuses nothing.
    click("default_delay_time_edit");
    window_->manager().add_notifier(this);

    using ui::WindowMessage;
    send(WindowMessage::kKeyDown, 'A');
    send(WindowMessage::kKeyDown, 'A', ui::kKeyRepeatFlag);
    const std::string typed = "a";
    send(WindowMessage::kTextInput, 0, reinterpret_cast<intptr_t>(&typed));
    send(WindowMessage::kKeyUp, 'A');
    send(WindowMessage::kButtonDown, 1, centre(new_btn));
    send(WindowMessage::kButtonUp, 1, centre(new_btn));
    send(WindowMessage::kButtonDown, 4, centre(new_btn));
    send(WindowMessage::kButtonUp, 4, centre(new_btn));
    send(WindowMessage::kMouseWheel, ui::make_wheel_param(2), centre(new_btn));
    EXPECT_EQ(edit->text(), edit_text);
    EXPECT_TRUE(heard.empty()) << heard.front();

    EXPECT_TRUE(ui::click_control(*window_, "macro_record_stop_btn"));
    pump();
    EXPECT_NE(std::find(heard.begin(), heard.end(), "click:macro_record_stop_btn"), heard.end());
    EXPECT_EQ(steps_of(store_->macro_store.macros[0]),
              (std::vector<std::string>{"m|Left Click        |down", "m|Left Click        |up",
                                        "k| A |down", "k| A |down", "k| A |up",
                                        "m|Left Click        |down", "m|Left Click        |up",
                                        "m|Browser Backward  |down", "m|Browser Backward  |up",
                                        "m|Scroll Wheel Up   |up", "m|Scroll Wheel Up   |up"}));

    // Stopped by that click, the window's controls hear clicks again.
    heard.clear();
    EXPECT_FALSE(window_->recording());
    EXPECT_TRUE(ui::click_control(*window_, "macro_new_btn"));
    pump();
    EXPECT_NE(std::find(heard.begin(), heard.end(), "click:macro_new_btn"), heard.end());
    window_->manager().remove_notifier(this);

    // Stop with nothing recording still saves the macros.
    ASSERT_TRUE(std::filesystem::remove(macro_store_path()));
    EXPECT_TRUE(ui::click_control(*window_, "macro_record_stop_btn"));
    pump();
    EXPECT_EQ(std::filesystem::file_size(macro_store_path()), sizeof(MacroStore));
}

}  // namespace
}  // namespace talvoro::shell
