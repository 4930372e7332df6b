// A window for the window tests: a 200 x 100 client area with a row of a 60-pixel red button
// "ok" (text "OK") and a label "title" filling the rest, recording what it sees.
#pragma once
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/button.h"
#include "core/horizontal_layout.h"
#include "core/label.h"
#include "core/window.h"

namespace talvoro::ui::test {

struct Seen {
    WindowMessage msg;
    uintptr_t wparam;
    intptr_t lparam;
    std::thread::id thread;
};

class RecordingWindow : public CWindowWnd, public INotifyUI {
  public:
    // Messages of these kinds are recorded; the handler handles `stop_at` itself.
    std::vector<WindowMessage> watched{WindowMessage::kTimer, WindowMessage::kUser,
                                       WindowMessage::kCommand, WindowMessage::kDeviceChange};
    std::optional<WindowMessage> stop_at;
    std::vector<Seen> seen;
    std::vector<std::string> order;  // who saw a message of kind kCommand, in turn
    std::vector<std::string> notes;  // notifications as "type:sender"
    std::function<void(const Seen&)> on_seen;

    bool build(std::string title = "Test", Rect at = Rect{100, 50, 300, 150}) {
        if (!create(nullptr, std::move(title), Size{at.width(), at.height()})) {
            return false;
        }
        move(Rect{at.left, at.top, at.left + rect().width(), at.top + rect().height()});
        auto row = std::make_unique<CHorizontalLayoutUI>();
        auto button = std::make_unique<CButtonUI>();
        button->set_name("ok");
        button->set_text("OK");
        button->set_fixed_width(60);
        button->set_attribute("bkcolor", "#FFFF0000");
        row->add(std::move(button));
        auto label = std::make_unique<CLabelUI>();
        label->set_name("title");
        label->set_text("Say \"hi\"\\\n");
        row->add(std::move(label));
        manager().set_root(std::move(row));
        manager().add_notifier(this);
        return true;
    }

    void notify(TNotifyUI& msg) override {
        notes.push_back(msg.type + ":" + (msg.sender != nullptr ? msg.sender->name() : "-"));
    }

  protected:
    intptr_t handle_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                            bool& handled) override {
        if (msg == WindowMessage::kCommand) {
            order.push_back("window");
        }
        if (std::find(watched.begin(), watched.end(), msg) != watched.end()) {
            seen.push_back(Seen{msg, wparam, lparam, std::this_thread::get_id()});
            if (on_seen) {
                on_seen(seen.back());
            }
        }
        handled = stop_at == msg;
        return handled ? 7 : 0;
    }

    intptr_t default_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam) override {
        if (msg == WindowMessage::kCommand) {
            order.push_back("manager");
        }
        return CWindowWnd::default_message(msg, wparam, lparam);
    }
};

}  // namespace talvoro::ui::test
