#include "shell/pages/macro_recorder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "store/key_table.h"
#include "store/macro_delay.h"
#include "store/macro_operations.h"
#include "store/profile_store.h"

namespace talvoro::shell {
namespace {

// The platform names the sided Shift, Ctrl and Alt; the key table (and the mouse) know only the
// keys themselves.
int unsided_key(int virtual_key) {
    switch (virtual_key) {
        case 0xA0:
        case 0xA1:
            return 0x10;
        case 0xA2:
        case 0xA3:
            return 0x11;
        case 0xA4:
        case 0xA5:
            return 0x12;
        default:
            return virtual_key;
    }
}

// The stored label of a button (1 left, 2 middle, 3 right, 4 and 5 the extra buttons); null for
// any other.
const char* button_label(int button) {
    switch (button) {
        case 1:
            return stored_mouse_label(kMouseLeftClick);
        case 2:
            return stored_mouse_label(kMouseWheelClick);
        case 3:
            return stored_mouse_label(kMouseRightClick);
        case 4:
            return stored_mouse_label(kMouseBrowserBackward);
        case 5:
            return stored_mouse_label(kMouseBrowserForward);
        default:
            return nullptr;
    }
}

}  // namespace

void MacroRecorder::start(int macro, RecordDelayMode mode, uint32_t fixed_delay_ms) {
    editor_.set_current_macro(macro);
    editor_.clear_steps(editor_.current_macro());
    mode_ = mode;
    fixed_delay_ms_ = fixed_delay_ms;
    last_input_ = {};
    step_count_ = 0;
    full_ = false;
    recording_ = true;
}

void MacroRecorder::stop() {
    recording_ = false;
}

bool MacroRecorder::on_input(const RecordedInput& input, Clock::time_point now) {
    if (!recording_ || full_) {
        return false;
    }
    using Kind = RecordedInput::Kind;
    switch (input.kind) {
        case Kind::kKeyDown:
        case Kind::kKeyUp: {
            const KeyRow* key = key_by_virtual_key(unsided_key(input.code));
            if (key == nullptr) {
                return false;
            }
            return take(input.kind == Kind::kKeyDown ? kRowKeyDown : kRowKeyUp, key->name, false,
                        now);
        }
        case Kind::kButtonDown:
        case Kind::kButtonUp: {
            const char* label = button_label(input.code);
            // The left button there is the click on the stop button itself; other buttons
            // never press it, so they are recorded wherever they are.
            if (label == nullptr || (input.code == 1 && ignored_.contains(input.point))) {
                return false;
            }
            const bool press = input.kind == Kind::kButtonDown;
            return take(press ? kRowMousePress : kRowMouseRelease, label, !press, now);
        }
        case Kind::kWheel: {
            const bool forward = input.code > 0;
            const int kind = forward ? kRowWheelUp : kRowWheelDown;
            const char* label = stored_mouse_label(forward ? kMouseWheelUp : kMouseWheelDown);
            // One step per notch, as if each notch came on its own at the same moment.
            const int notches = std::min(std::abs(input.code), kMacroSteps);
            for (int notch = 0; notch < notches; ++notch) {
                if (take(kind, label, false, now)) {
                    return true;
                }
            }
            return false;
        }
    }
    return false;
}

bool MacroRecorder::take(int kind, const char* text, bool mouse_release, Clock::time_point now) {
    if (step_count_ == 0 && mouse_release) {
        // The release of a button held before the recording began: the macro would start with
        // a release it never pressed. It still marks the time.
        last_input_ = now;
        return false;
    }
    const std::string delay = step_count_ > 0 ? delay_before(now) : std::string();
    last_input_ = now;
    if (!delay.empty()) {
        if (!editor_.add_step(kRowDelay, delay, false, 0)) {
            full_ = true;
            return true;
        }
        ++step_count_;
    }
    if (!editor_.add_step(static_cast<MacroRowKind>(kind), text, false, 0)) {
        full_ = true;
        return true;
    }
    ++step_count_;
    // Full once the next input could not go in whole: a delay is never left at the end
    // without the step it waits for.
    if (kMacroSteps - step_count_ < slots_per_input()) {
        full_ = true;
        return true;
    }
    return false;
}

std::string MacroRecorder::delay_before(Clock::time_point now) const {
    switch (mode_) {
        case RecordDelayMode::kNone:
            return {};
        case RecordDelayMode::kFixed:
            return delay_text(fixed_delay_ms_);
        case RecordDelayMode::kMeasured:
            break;
    }
    // Cut to whole milliseconds, never rounded.
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - last_input_);
    const auto ms = std::clamp<int64_t>(elapsed.count(), 0, std::numeric_limits<uint32_t>::max());
    return delay_text(static_cast<uint32_t>(ms));
}

int MacroRecorder::slots_per_input() const {
    return mode_ == RecordDelayMode::kNone ? 1 : 2;
}

}  // namespace talvoro::shell
