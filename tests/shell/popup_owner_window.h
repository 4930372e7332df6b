// What the popup tests open their popups over: a headless stand-in for the main window with
// one button, "owner_btn", that plays the control whose click opened the popup. It records the
// result words the popups send it, which arrive only when it handles its pending work, as the
// event loop would have it do.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/dialog_builder.h"
#include "core/window.h"
#include "shell/language/language.h"
#include "shell/popups/popup_state.h"
#include "shell/popups/popup_window.h"
#include "toolkit/notify_recorder.h"

namespace talvoro::shell::test {

class OwnerWindow : public ui::CWindowWnd {
  public:
    static constexpr ui::Rect kPlace{200, 100, 1225, 801};

    OwnerWindow() {
        ui::CDialogBuilder builder;
        manager().set_root(builder.create(R"(<Window size="1025,701"><VerticalLayout>
              <Button name="owner_btn" height="40" text="Open"/>
              <Label name="owner_rest"/>
            </VerticalLayout></Window>)",
                                          nullptr, &manager()));
        manager().add_notifier(&results);
        create(nullptr, "Owner", ui::Size{kPlace.width(), kPlace.height()});
        move(kPlace);
    }
    ~OwnerWindow() override { destroy(); }

    ui::CControlUI* button() { return manager().find_control("owner_btn"); }
    // The result words sent so far, as "word:sender".
    const std::vector<std::string>& deliver() {
        process_pending();
        return results.seen;
    }

    ui::test::NotifyRecorder results;
};

inline bool popup_alive(const PopupWindow* popup) {
    const auto live = PopupWindow::live_popups();
    return std::find(live.begin(), live.end(), popup) != live.end();
}

// Every test starts with no popup, the flag clear, the result area dirty and English, and
// checks that it left no popup object behind.
class PopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(PopupWindow::live_popups().empty());
        popup_open = 0;
        for (int i = 0; i < PopupResultArea::kWords; ++i) {
            PopupResult.set_word(i, 0xABCD);
        }
        set_language_index(0);
    }
    void TearDown() override {
        // Closing one popup may take others with it.
        for (PopupWindow* popup : PopupWindow::live_popups()) {
            if (popup_alive(popup)) {
                popup->close();
            }
        }
        EXPECT_TRUE(PopupWindow::live_popups().empty());
        set_language_index(0);
    }

    OwnerWindow owner;
};

}  // namespace talvoro::shell::test
