// The support page: the program's and the mouse's version, and the vendor's four links, opened
// in the desktop's browser without waiting for it.
#pragma once

#include <cstdint>
#include <string>

#include "core/button.h"
#include "core/control.h"
#include "layouts/layout_table.h"
#include "shell/language/web_addresses.h"
#include "shell/pages/layout_page.h"

namespace talvoro::shell {

class OskelSupportUI : public LayoutPage {
  public:
    OskelSupportUI() : LayoutPage(layouts::kSupportPageLayout) {}

    // Finds the page's controls and fills the version labels and the link buttons.
    void bind(PageHost& host, const MainWindowControls& controls) override;
    // Clicks on the links; true when acted on.
    bool on_notify(ui::TNotifyUI& msg) override;
    // The firmware version is read again and the texts rewritten.
    void on_page_refresh(int slot) override;
    void on_language_changed() override;

    // The firmware number last shown (100 when the mouse could not be read).
    uint16_t shown_firmware() const { return firmware_; }

  private:
    struct Controls {
        ui::CControlUI* app_version_label = nullptr;
        ui::CControlUI* fw_version_label = nullptr;
        ui::CButtonUI* update_app_btn = nullptr;
        ui::CButtonUI* update_fw_btn = nullptr;
        ui::CButtonUI* website_link_btn = nullptr;
        ui::CButtonUI* link_website_btn = nullptr;
        ui::CButtonUI* social_link_btn = nullptr;
        ui::CButtonUI* link_social_btn = nullptr;
    };

    void update_firmware();
    void write_texts();
    // Opens the address of `which` at the language of this moment.
    void open_address(WebAddress which);

    Controls controls_{};
    uint16_t firmware_ = 100;
};

}  // namespace talvoro::shell
