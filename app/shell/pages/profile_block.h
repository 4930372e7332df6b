// One profile block: the five profile options, their in-use switches, the profile's name and the
// Load, Save and Cancel buttons. The main control page and the performance page each hold one;
// both show the same profile. Apply ("profileokbtn", "kprofileokbtn") belongs to the window,
// which owns the confirmation.
#pragma once

#include "core/notify.h"
#include "shell/main_window_controls.h"

namespace talvoro::shell {

class PageHost;

class ProfileBlockUI {
  public:
    // `block` is this block's controls, `other` the other page's (the name shows in both or in
    // neither).
    void bind(PageHost& host, const ProfileBlockControls& block, const ProfileBlockControls& other);

    // Clicks on the profile options and the three buttons, selection changes of the in-use
    // switches; true when the block acted on it.
    bool on_notify(ui::TNotifyUI& msg);
    // The in-use switches, the profile's name and the selected profile option, without
    // notifications.
    void show(int slot);
    // The name shown after a load or save, in both blocks.
    void show_name(const std::string& name);

  private:
    PageHost* host_ = nullptr;
    const ProfileBlockControls* block_ = nullptr;
    const ProfileBlockControls* other_ = nullptr;
};

}  // namespace talvoro::shell
