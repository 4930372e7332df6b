// The mouse's firmware: answers feature reports from the device side.
//
// No sockets and no clock of its own: every call is given the time, so tests
// can drive it through the protocol's waits without sleeping.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fault_plan.h"
#include "host_session.h"
#include "mouse_state.h"

namespace talvoro::virtual_mouse {

class VirtualFirmware {
  public:
    VirtualFirmware(MouseState state, FaultPlan faults, TimePoint plugged_in_at);

    // A host's set-feature / get-feature call; `report` starts with the report
    // id. False plays the part of a failing call: unknown report id, a length
    // other than that report's, a set on a read-only report, or a flash
    // report asked for before its data is ready.
    bool set_feature(HostSession& host, const uint8_t* report, size_t length, TimePoint now);
    bool get_feature(HostSession& host, uint8_t* report, size_t length, TimePoint now);

    // The mouse was plugged in (again): the firmware starts up anew.
    void plug_in(TimePoint now);

    const MouseState& state() const { return state_; }

    // True once after the stored state changed, so it can be saved.
    bool take_state_change();
    // True once when a fault wants the mouse unplugged now.
    bool take_unplug_request();

  private:
    bool set_command(HostSession& host, const uint8_t* report, TimePoint now);
    bool set_bulk(HostSession& host, const uint8_t* report, TimePoint now);
    bool set_control(HostSession& host, const uint8_t* report, TimePoint now);
    bool get_command_reply(HostSession& host, uint8_t* report, size_t length, TimePoint now);
    bool get_control(HostSession& host, uint8_t* report);
    bool get_flash(HostSession& host, uint8_t* report, TimePoint now);
    bool unplugs_on_this_request();
    uint16_t reported_version(TimePoint now) const;
    TimePoint ready_time(TimePoint now, std::chrono::milliseconds wait) const;

    MouseState state_;
    FaultPlan faults_;
    TimePoint plugged_in_at_;
    uint64_t requests_ = 0;
    bool state_changed_ = false;
    bool unplug_requested_ = false;
    bool unplug_after_fired_ = false;
    bool mid_transfer_fired_ = false;
};

}  // namespace talvoro::virtual_mouse
