// The macro page's recording: the record and stop buttons, the two delay options and the fixed
// delay edit around the recorder, the record button's blink while it runs, and the notice when
// the macro fills up.
#pragma once

#include <cstdint>
#include <string>

#include "core/button.h"
#include "core/edit.h"
#include "core/option.h"
#include "shell/pages/macro_recorder.h"

namespace talvoro {
class MacroEditor;
}

namespace talvoro::shell {

class PageHost;

inline constexpr uintptr_t kRecordBlinkTimer = 13;
inline constexpr unsigned kRecordBlinkMs = 600;
inline constexpr const char* kRecordPicture = "file='MacroRecord1.png' mask='0xffffffff' ";
inline constexpr const char* kRecordBlinkPicture = "file='MacroRecord2.png' mask='0xffffffff' ";

struct MacroRecordControls {
    ui::CButtonUI* record_btn = nullptr;
    ui::CButtonUI* stop_btn = nullptr;
    ui::COptionUI* ignore_delay_option = nullptr;
    ui::COptionUI* default_delay_option = nullptr;
    ui::CEditUI* default_delay_edit = nullptr;
};

class MacroRecordControl {
  public:
    enum class Blink {
        kIdle,
        kFirst,    // the plain picture is up, the other comes next
        kSecond,   // the other picture is up
        kStopped,  // the next tick ends the blinking
    };

    explicit MacroRecordControl(MacroEditor& editor) : recorder_(editor) {}

    // `timer_owner` receives the blink timer's ticks.
    void bind(PageHost& host, ui::CControlUI& timer_owner, const MacroRecordControls& controls);

    bool recording() const { return recorder_.recording(); }
    Blink blink() const { return blink_; }

    // Starts recording into `macro` with the chosen delay mode; false, with the person told why,
    // when the fixed delay is not a usable number.
    bool start(int macro);
    // Ends the recording, if one runs, and writes the macro store file; false when that write
    // failed (the person was told).
    bool stop();
    void on_timer(uintptr_t id);
    void on_input(const RecordedInput& input);

  private:
    void set_picture(const char* picture);

    MacroRecorder recorder_;
    PageHost* host_ = nullptr;
    ui::CControlUI* timer_owner_ = nullptr;
    MacroRecordControls controls_;
    Blink blink_ = Blink::kIdle;
    bool full_told_ = false;
};

}  // namespace talvoro::shell
