#include "shell/exchange_progress.h"

#include <algorithm>
#include <cstdio>

#include "shell/language/text_table.h"

namespace talvoro::shell {
namespace {

// Five profiles and the select (or the current-profile query of a read).
constexpr int kSteps = 6;

}  // namespace

void ExchangeProgress::find_controls(const ui::CPaintManagerUI& manager) {
    label_ = manager.find_control("exchange_progress_label");
    track_ = manager.find_control("exchange_progress_track");
    bar_ = manager.find_control("exchange_progress_bar");
}

void ExchangeProgress::show(ExchangeStep step, int profile) {
    if (label_ == nullptr || track_ == nullptr || bar_ == nullptr) {
        return;
    }
    TextRow row = TextRow::kProgressWrite;
    int done = profile;
    switch (step) {
        case ExchangeStep::kReadProfile:
            row = TextRow::kProgressRead;
            break;
        case ExchangeStep::kWriteProfile:
            break;
        case ExchangeStep::kSelectProfile:
            row = TextRow::kProgressSelect;
            done = kSteps;
            break;
    }
    char caption[256];
    std::snprintf(caption, sizeof caption, text(row), profile);
    label_->set_text(caption);
    // The bar grows inside its track, one sixth a step.
    ui::Rect bar = track_->float_pos();
    bar.right = bar.left + bar.width() * std::clamp(done, 0, kSteps) / kSteps;
    bar_->set_float_pos(bar);
    for (ui::CControlUI* control : {label_, track_, bar_}) {
        control->set_visible(true);
    }
    shown_ = true;
}

void ExchangeProgress::hide() {
    for (ui::CControlUI* control : {label_, track_, bar_}) {
        if (control != nullptr) {
            control->set_visible(false);
        }
    }
    shown_ = false;
}

}  // namespace talvoro::shell
