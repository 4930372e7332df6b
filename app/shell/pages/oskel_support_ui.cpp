#include "shell/pages/oskel_support_ui.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/link_opener.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/pages/page_host.h"
#include "store/profile_store.h"

namespace talvoro::shell {
namespace {

constexpr const char* kVersionColor = "#00FF4444";
// What the page shows when the mouse cannot be read: version 1.00.
constexpr uint16_t kUnknownFirmware = 100;

template <typename T>
T* find(ui::CWindowWnd& window, const char* name) {
    return dynamic_cast<T*>(window.manager().find_control(name));
}

// An address may be kept with blanks around it for the link texts; the opener gets it bare.
std::string trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

void show_version(ui::CControlUI* label, const std::string& text) {
    if (label == nullptr) {
        return;
    }
    label->set_text(text);
    label->set_attribute("align", "left");
    label->set_attribute("textcolor", kVersionColor);
}

void show_link(ui::CButtonUI* button, const char* address) {
    if (button == nullptr) {
        return;
    }
    button->set_text(std::string(" {u}") + address + "{/u} ");
    button->set_attribute("showhtml", "true");
    button->set_attribute("align", "left");
    button->set_attribute("textcolor", kVersionColor);
    button->set_tooltip(address);
}

}  // namespace

void OskelSupportUI::bind(PageHost& host, const MainWindowControls& window_controls) {
    LayoutPage::bind(host, window_controls);
    ui::CWindowWnd& window = host.window();
    controls_.app_version_label = find<ui::CControlUI>(window, "apversionlabel");
    controls_.fw_version_label = find<ui::CControlUI>(window, "fwversionlabel");
    controls_.update_app_btn = find<ui::CButtonUI>(window, "update_app_btn");
    controls_.update_fw_btn = find<ui::CButtonUI>(window, "update_fw_btn");
    controls_.website_link_btn = find<ui::CButtonUI>(window, "websitelinkbtn");
    controls_.link_website_btn = find<ui::CButtonUI>(window, "link_website_btn");
    controls_.social_link_btn = find<ui::CButtonUI>(window, "socialnetworklinkbtn");
    controls_.link_social_btn = find<ui::CButtonUI>(window, "link_socialnetwork_btn");
    update_firmware();
    write_texts();
}

bool OskelSupportUI::on_notify(ui::TNotifyUI& msg) {
    if (host_ == nullptr || msg.sender == nullptr || msg.type != "click") {
        return false;
    }
    const auto is = [&msg](ui::CButtonUI* button) {
        return button != nullptr && msg.sender == button;
    };
    if (is(controls_.update_app_btn)) {
        open_address(WebAddress::kAppUpdate);
    } else if (is(controls_.update_fw_btn)) {
        open_address(WebAddress::kFirmwareUpdate);
    } else if (is(controls_.website_link_btn) || is(controls_.link_website_btn)) {
        open_address(WebAddress::kMainSite);
    } else if (is(controls_.social_link_btn) || is(controls_.link_social_btn)) {
        open_address(WebAddress::kSocialNetwork);
    } else {
        return false;
    }
    return true;
}

void OskelSupportUI::on_page_refresh(int) {
    update_firmware();
    write_texts();
}

void OskelSupportUI::on_language_changed() {
    write_texts();
}

void OskelSupportUI::update_firmware() {
    if (host_ == nullptr) {
        return;
    }
    // Every read of the mouse reads its firmware too; asking again at each refresh would make
    // every profile or tab switch wait for the mouse.
    const uint16_t known = host_->link().firmware_number();
    firmware_ = host_->device_present() && known != 0 ? known : kUnknownFirmware;
}

void OskelSupportUI::write_texts() {
    show_version(controls_.app_version_label,
                 std::string(shell::text(TextRow::kSoftwareVersion)) + kAppVersion);
    char number[32];
    std::snprintf(number, sizeof number, "V%d.%2.2d ", firmware_ / 100, firmware_ % 100);
    show_version(controls_.fw_version_label,
                 std::string(shell::text(TextRow::kFirmwareVersion)) + number);
    const int language = language_index();
    show_link(controls_.website_link_btn, web_address(WebAddress::kMainSite, language));
    show_link(controls_.social_link_btn, web_address(WebAddress::kSocialNetwork, language));
}

void OskelSupportUI::open_address(WebAddress which) {
    const std::string address = trimmed(web_address(which, language_index()));
    const ShellServices& services = host_->services();
    const bool started =
        services.open_link ? services.open_link(address) : platform::open_link(address);
    // With no opener the address is shown, so the person can copy it into a browser.
    if (!started) {
        host_->show_notice(address);
    }
}

}  // namespace talvoro::shell
