#include "shell/exchange_progress.h"

#include <algorithm>
#include <cstdio>

#include "shell/language/text_table.h"

namespace talvoro::shell {
namespace {

// Five profiles and the select (or the current-profile query of a read): the bar's range.
constexpr int kSteps = 6;
constexpr const char* kTrackColor = "#FF2A2A31";
constexpr const char* kFillColor = "#FFFF3C3C";

}  // namespace

void ExchangeProgress::find_controls(const ui::CPaintManagerUI& manager) {
    label_ = manager.find_control("exchange_progress_label");
    bar_ = dynamic_cast<ui::CSliderUI*>(manager.find_control("exchange_progress_bar"));
    hide();
}

void ExchangeProgress::show(ExchangeStep step, int profile) {
    if (label_ == nullptr || bar_ == nullptr) {
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
    if (!shown_) {
        bar_->set_attribute("bkcolor", kTrackColor);
        bar_->set_attribute("forecolor", kFillColor);
    }
    bar_->set_value(std::clamp(done, 0, kSteps));
    shown_ = true;
}

void ExchangeProgress::hide() {
    if (label_ != nullptr) {
        label_->set_text("");
    }
    if (bar_ != nullptr) {
        bar_->set_value(0);
        bar_->set_attribute("bkcolor", "#00000000");
        bar_->set_attribute("forecolor", "#00000000");
    }
    shown_ = false;
}

}  // namespace talvoro::shell
