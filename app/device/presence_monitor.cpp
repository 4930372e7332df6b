#include "device/presence_monitor.h"

#include "protocol.h"

namespace talvoro {

PresenceMonitor::PresenceMonitor(DeviceLink& link, ProfileExchange& exchange, DeviceEvents& events)
    : link_(link), exchange_(exchange), events_(events) {}

void PresenceMonitor::initial_check() {
    if (!link_.presence_check()) {
        state_.device_absent = true;
        return;
    }
    device_refresh();
}

void PresenceMonitor::device_refresh() {
    events_.on_device_event({DeviceEvent::Kind::kExchangeStarting});
    const bool read = exchange_.read_device() == QX_STATUS_DONE;
    if (!read)
        exchange_.reset_all_profiles();
    events_.on_device_event({DeviceEvent::Kind::kRefreshDone, {}, 0, read});
}

void PresenceMonitor::on_device_change(const watch::DeviceChange& change) {
    if (change.vendor != protocol::kVendorId || change.product != protocol::kProductId)
        return;

    if (change.kind == watch::ChangeKind::kRemoved) {
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
    events_.on_device_event({DeviceEvent::Kind::kExchangeStarting});
    wait_for_firmware();
    state_.popup_flags = 0;
    events_.on_device_event({DeviceEvent::Kind::kMouseBack});
    device_refresh();
}

void PresenceMonitor::on_input_while_absent() {
    if (state_.device_absent)
        show_not_detected_once();
}

void PresenceMonitor::show_not_detected_once() {
    if ((state_.popup_flags & kNotDetectedShown) != 0)
        return;
    state_.popup_flags |= kNotDetectedShown;
    events_.on_device_event({DeviceEvent::Kind::kMouseLost});
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
