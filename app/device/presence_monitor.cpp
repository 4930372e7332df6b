#include "device/presence_monitor.h"

#include "device/device_path.h"
#include "protocol.h"

namespace talvoro {

PresenceMonitor::PresenceMonitor(DeviceLink& link, ProfileExchange& exchange, ProfileStore& store,
                                 DeviceLinkUi& ui)
    : link_(link), exchange_(exchange), store_(store), ui_(ui) {}

void PresenceMonitor::initial_check() {
    if (!link_.presence_check()) {
        state_.device_absent = true;
        return;
    }
    device_refresh();
}

void PresenceMonitor::device_refresh() {
    ui_.paint_now();
    const bool read = exchange_.read_device() == QX_STATUS_DONE;
    if (!read)
        exchange_.reset_all_profiles();
    if (store_.macro_store.macro_count > 0)
        ui_.rebuild_macro_list();
    ui_.reselect_page_profile();
    if (ui_.select_led_option()) {
        link_.set_leds(true);
        store_.led_on = 1;
    }
    ui_.apply_language_layout();
    // Told last, once the window shows what it now holds.
    if (!read)
        ui_.read_failed();
}

void PresenceMonitor::on_device_change(uint32_t event, uint32_t device_type,
                                       std::string_view interface_name) {
    if (event != kDeviceArrival && event != kDeviceRemoveComplete)
        return;
    if (device_type != kDeviceTypeInterface || !names_the_mouse(interface_name))
        return;

    if (event == kDeviceRemoveComplete) {
        // Each collection of the mouse announces its own removal; another
        // one, or a second mouse, may still answer.
        if (link_.presence_check())
            return;
        state_.device_absent = true;
        show_not_detected_once();
        return;
    }
    if (!state_.device_absent || !link_.presence_check())
        return;
    state_.device_absent = false;
    ui_.paint_now();
    wait_for_firmware();
    ui_.close_notice_popups();
    state_.popup_flags = 0;
    device_refresh();
}

void PresenceMonitor::on_input_while_absent() {
    if (state_.device_absent)
        show_not_detected_once();
}

void PresenceMonitor::show_not_detected_once() {
    if ((state_.popup_flags & kNotDetectedShown) != 0)
        return;
    ui_.show_not_detected();
    state_.popup_flags |= kNotDetectedShown;
}

void PresenceMonitor::wait_for_firmware() {
    // The firmware answers 0xCCCC while it starts. Only a successful read of
    // another version ends the wait: a failed read must not end it with the
    // number remembered from before the mouse left.
    for (int attempt = 1; attempt <= kFirmwareAttempts; ++attempt) {
        if (link_.read_firmware_info() && link_.firmware_number() != protocol::kFirmwareStarting) {
            return;
        }
        if (attempt < kFirmwareAttempts)
            link_.sleep(kFirmwareRetry);
    }
}

}  // namespace talvoro
