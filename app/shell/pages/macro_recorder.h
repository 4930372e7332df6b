// The macro recorder: turns the keyboard and mouse input the window receives while recording
// into steps of one macro, with measured, no or fixed delays between them. It is fed input
// events (so tests drive it with synthetic ones) and knows nothing of windows; the macro page
// starts and stops it, the main window feeds it while it records.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "render/rect.h"

namespace talvoro {
class MacroEditor;
}

namespace talvoro::shell {

enum class RecordDelayMode {
    kMeasured,  // the time between two inputs
    kNone,      // no delay steps
    kFixed,     // the same delay before every step but the first
};

// One input of the window while recording.
struct RecordedInput {
    enum class Kind {
        kKeyDown,     // a press or an auto-repeat; `code` is the virtual-key code
        kKeyUp,       // `code` is the virtual-key code
        kButtonDown,  // `code`: 1 left, 2 middle, 3 right, 4 first extra, 5 second extra
        kButtonUp,
        kWheel,  // `code`: notches, positive forward
    };
    Kind kind = Kind::kKeyDown;
    int code = 0;
    ui::Point point;  // window coordinates of the pointer, for buttons
};

class MacroRecorder {
  public:
    using Clock = std::chrono::steady_clock;

    explicit MacroRecorder(MacroEditor& editor) : editor_(editor) {}

    bool recording() const { return recording_; }
    // Starts recording into macro `macro` (its old steps are discarded).
    void start(int macro, RecordDelayMode mode, uint32_t fixed_delay_ms);
    void stop();
    // Left-button presses and releases inside `ignored` are not recorded (the stop button's own
    // click).
    void set_ignored_area(const ui::Rect& ignored) { ignored_ = ignored; }
    // Records one input at `now`. Returns true when the macro became full with this input
    // (the caller tells the person, once per recording).
    bool on_input(const RecordedInput& input, Clock::time_point now);

    // Steps added since the start.
    int step_count() const { return step_count_; }

  private:
    // Appends one key or mouse step (a `MacroRowKind`) with the delay before it; true when the
    // macro became full.
    bool take(int kind, const char* text, bool mouse_release, Clock::time_point now);
    // The delay step before the next step, empty for none.
    std::string delay_before(Clock::time_point now) const;
    // Steps one more input needs: the step and, after the first, its delay.
    int slots_per_input() const;

    MacroEditor& editor_;
    ui::Rect ignored_;
    RecordDelayMode mode_ = RecordDelayMode::kMeasured;
    uint32_t fixed_delay_ms_ = 0;
    Clock::time_point last_input_;
    int step_count_ = 0;
    bool full_ = false;
    bool recording_ = false;
};

}  // namespace talvoro::shell
