#include "device/profile_exchange.h"

#include <cstdio>
#include <cstring>

#include "device/desktop_mouse_settings.h"
#include "device/system_mouse_settings.h"
#include "store/store_defaults.h"

namespace talvoro {

ProfileExchange::ProfileExchange(ProfileStore& store, DeviceLink& link,
                                 DesktopMouseSettings& desktop, DeviceEvents& events)
    : store_(store),
      link_(link),
      desktop_(desktop),
      events_(events),
      mirror_(std::make_unique<DeviceRecords>()) {
    std::memset(mirror_->data(), 0, sizeof(ProfileRecord) * mirror_->size());
}

uint8_t ProfileExchange::read_device() {
    const DeviceApi& api = link_.api();
    if (api.Read_profile == nullptr || api.Get_current_profile_id == nullptr || !link_.open()) {
        return 0;
    }
    DeviceRecords& records = *mirror_;
    std::memset(records.data(), 0, sizeof(ProfileRecord) * records.size());
    uint8_t status = QX_STATUS_DONE;
    for (int i = 0; i < kProfileCount && status == QX_STATUS_DONE; ++i) {
        progress(ExchangeStep::kReadProfile, i + 1);
        status = api.Read_profile(i, &records[static_cast<size_t>(i)]);
    }
    uint8_t slot = 0;
    if (status == QX_STATUS_DONE)
        status = api.Get_current_profile_id(&slot);
    link_.close();
    events_.on_device_event({DeviceEvent::Kind::kExchangeEnded});
    if (status != QX_STATUS_DONE)
        return status;

    // 255 (no profile) wraps to 0, which the store reads as profile 1.
    device_current_ = static_cast<uint8_t>(slot + 1);
    decode_profiles(records, device_current_, store_);
    for (ProfileBlock& block : store_.profiles)
        read_system_levels(block, desktop_);
    // A mouse that gave its profiles but not its version keeps the number last read: the
    // profiles are what this read is for.
    static_cast<void>(link_.read_firmware_info());
    refresh_firmware_text();
    compact_macros(store_);
    events_.on_device_event({DeviceEvent::Kind::kProfilesChanged, {}, slot});
    return QX_STATUS_DONE;
}

uint8_t ProfileExchange::apply_all() {
    rejected_profile_ = 0;
    const DeviceApi& api = link_.api();
    if (api.Write_profile == nullptr || api.Set_current_profile_id == nullptr || !link_.open()) {
        return 0;
    }
    DeviceRecords& records = *mirror_;
    device_current_ = encode_profiles(store_, records);
    uint8_t status = QX_STATUS_DONE;
    for (int i = 0; i < kProfileCount && status == QX_STATUS_DONE; ++i) {
        progress(ExchangeStep::kWriteProfile, i + 1);
        status = api.Write_profile(i, &records[static_cast<size_t>(i)]);
        if (status == QX_STATUS_REJECTED)
            rejected_profile_ = i + 1;
        link_.sleep(kAfterSlotWrite);
    }
    const int current = device_current_ == 0 ? 0 : device_current_ - 1;
    if (status == QX_STATUS_DONE) {
        progress(ExchangeStep::kSelectProfile, current + 1);
        link_.sleep(kBeforeProfileSelect);
        status = api.Set_current_profile_id(current);
    }
    link_.close();
    events_.on_device_event({DeviceEvent::Kind::kExchangeEnded});
    if (status == QX_STATUS_DONE)
        apply_system_settings(store_.profiles[current], desktop_);
    events_.on_device_event({DeviceEvent::Kind::kProfilesChanged, {}, current});
    return status;
}

uint8_t ProfileExchange::apply_changed(const DeviceRecords& before) {
    rejected_profile_ = 0;
    written_profiles_ = 0;
    const uint8_t reported = device_current_;
    DeviceRecords& records = *mirror_;
    const uint8_t current = encode_profiles(store_, records);
    bool changed[kProfileCount] = {};
    bool any = current != reported;
    for (size_t i = 0; i < records.size(); ++i) {
        changed[i] = std::memcmp(&records[i], &before[i], sizeof(ProfileRecord)) != 0;
        any = any || changed[i];
    }
    if (!any) {
        return QX_STATUS_DONE;
    }
    const DeviceApi& api = link_.api();
    if (api.Write_profile == nullptr || api.Set_current_profile_id == nullptr || !link_.open()) {
        return 0;
    }
    device_current_ = current;
    uint8_t status = QX_STATUS_DONE;
    for (int i = 0; i < kProfileCount && status == QX_STATUS_DONE; ++i) {
        if (!changed[i]) {
            continue;
        }
        progress(ExchangeStep::kWriteProfile, i + 1);
        status = api.Write_profile(i, &records[static_cast<size_t>(i)]);
        if (status == QX_STATUS_REJECTED)
            rejected_profile_ = i + 1;
        if (status == QX_STATUS_DONE)
            ++written_profiles_;
        link_.sleep(kAfterSlotWrite);
    }
    const int slot = current == 0 ? 0 : current - 1;
    if (status == QX_STATUS_DONE && current != reported) {
        progress(ExchangeStep::kSelectProfile, slot + 1);
        link_.sleep(kBeforeProfileSelect);
        status = api.Set_current_profile_id(slot);
    }
    link_.close();
    events_.on_device_event({DeviceEvent::Kind::kExchangeEnded});
    if (status == QX_STATUS_DONE)
        apply_system_settings(store_.profiles[slot], desktop_);
    events_.on_device_event({DeviceEvent::Kind::kProfilesChanged, {}, slot});
    return status;
}

void ProfileExchange::reset_all_profiles() {
    // Without an answer the defaults carry the version last read.
    static_cast<void>(link_.read_firmware_info());
    talvoro::reset_all_profiles(store_, link_.firmware_number());
}

void ProfileExchange::progress(ExchangeStep step, int profile) {
    events_.on_device_event({DeviceEvent::Kind::kExchangeProgress, step, profile});
}

void ProfileExchange::refresh_firmware_text() {
    format_firmware_version(link_.firmware_number(), store_.fw_version);
    std::snprintf(store_.app_version, sizeof store_.app_version, "%s", kAppVersion);
}

}  // namespace talvoro
