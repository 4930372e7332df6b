#include "shell/pages/macro_record_control.h"

#include <cerrno>

#include "render/debug_log.h"
#include "shell/language/text_table.h"
#include "shell/pages/delay_entry.h"
#include "shell/pages/macro_page_notices.h"
#include "shell/pages/page_host.h"
#include "store/macro_files.h"

namespace talvoro::shell {

void MacroRecordControl::bind(PageHost& host, ui::CControlUI& timer_owner,
                              const MacroRecordControls& controls) {
    host_ = &host;
    timer_owner_ = &timer_owner;
    controls_ = controls;
}

bool MacroRecordControl::start(int macro) {
    if (host_ == nullptr || recorder_.recording()) {
        return false;
    }
    RecordDelayMode mode = RecordDelayMode::kMeasured;
    uint32_t fixed_ms = 0;
    if (controls_.ignore_delay_option != nullptr && controls_.ignore_delay_option->is_selected()) {
        mode = RecordDelayMode::kNone;
    } else if (controls_.default_delay_option != nullptr &&
               controls_.default_delay_option->is_selected()) {
        const DelayEntry entry = read_delay_entry(
            controls_.default_delay_edit != nullptr ? controls_.default_delay_edit->text() : "");
        if (entry.fault == DelayEntryFault::kNotANumber) {
            host_->show_notice(kRecordDelayNotANumber);
            return false;
        }
        if (entry.fault == DelayEntryFault::kNotPositive) {
            host_->show_notice(kRecordDelayNotPositive);
            return false;
        }
        mode = RecordDelayMode::kFixed;
        fixed_ms = entry.milliseconds;
    }
    recorder_.start(macro, mode, fixed_ms);
    host_->recording_changed(true);
    full_told_ = false;
    set_picture(kRecordPicture);
    blink_ = Blink::kFirst;
    if (!host_->window().manager().set_timer(timer_owner_, kRecordBlinkTimer, kRecordBlinkMs)) {
        ui::debug_log("the record button's blink timer could not be set; it stays still");
    }
    return true;
}

bool MacroRecordControl::stop() {
    if (host_ == nullptr) {
        return false;
    }
    // Stop saves the macros even when nothing records, as a way to keep hand edits on disk.
    if (recorder_.recording()) {
        recorder_.stop();
        host_->recording_changed(false);
        blink_ = Blink::kStopped;
    }
    set_picture(kRecordPicture);
    if (write_macro_store(host_->store().macro_store, macro_store_path()) == 0) {
        tell_not_saved(*host_, macro_store_path(), errno);
        return false;
    }
    return true;
}

void MacroRecordControl::on_timer(uintptr_t id) {
    if (id != kRecordBlinkTimer) {
        return;
    }
    switch (blink_) {
        case Blink::kFirst:
            set_picture(kRecordPicture);
            blink_ = Blink::kSecond;
            break;
        case Blink::kSecond:
            set_picture(kRecordBlinkPicture);
            blink_ = Blink::kFirst;
            break;
        case Blink::kStopped:
        case Blink::kIdle:
            if (host_ != nullptr) {
                host_->window().manager().kill_timer(timer_owner_, kRecordBlinkTimer);
            }
            blink_ = Blink::kIdle;
            set_picture(kRecordPicture);
            break;
    }
}

void MacroRecordControl::on_input(const RecordedInput& input) {
    if (!recorder_.recording() || host_ == nullptr) {
        return;
    }
    if (controls_.stop_btn != nullptr) {
        recorder_.set_ignored_area(controls_.stop_btn->pos());
    }
    if (recorder_.on_input(input, MacroRecorder::Clock::now()) && !full_told_) {
        full_told_ = true;
        host_->show_notice(text(TextRow::kMacroFull));
    }
}

void MacroRecordControl::set_picture(const char* picture) {
    if (controls_.record_btn != nullptr) {
        controls_.record_btn->set_attribute("normalimage", picture);
    }
}

}  // namespace talvoro::shell
