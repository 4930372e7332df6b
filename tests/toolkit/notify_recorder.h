// Keeps "type:sender name" of every notification a window sends, in order.
#pragma once

#include <string>
#include <vector>

#include "core/control.h"
#include "core/notify.h"

namespace talvoro::ui::test {

class NotifyRecorder : public INotifyUI {
  public:
    void notify(TNotifyUI& msg) override {
        seen.push_back(msg.type + ":" + (msg.sender != nullptr ? msg.sender->name() : "-"));
    }
    std::vector<std::string> seen;
};

}  // namespace talvoro::ui::test
