#include "device_link_fixture.h"

#include <cstdio>

#include "protocol.h"
#include "sleep.h"

namespace talvoro::test {
namespace {

void record_link_wait(std::chrono::milliseconds duration) {
    link_waits().push_back(duration);
}

void no_protocol_wait(std::chrono::milliseconds) {}

}  // namespace

std::vector<std::chrono::milliseconds>& link_waits() {
    static std::vector<std::chrono::milliseconds> waits;
    return waits;
}

watch::DeviceChange mouse_change(watch::ChangeKind kind, int mi) {
    return {kind, watch::InterfaceOrigin::kVirtual, protocol::kVendorId, protocol::kProductId,
            "talvoro.if" + std::to_string(mi) + ".hid"};
}

DeviceLinkTest::DeviceLinkTest()
    : link_(direct_api(), &record_link_wait),
      exchange_(*store_, link_, desktop_, ui_),
      presence_(link_, exchange_, ui_) {
    set_sleep_function(&no_protocol_wait);
    link_waits().clear();
}

DeviceLinkTest::~DeviceLinkTest() {
    Close_QX_device();
    set_sleep_function(nullptr);
}

VirtualMouseProcess& DeviceLinkTest::start_mouse(std::vector<std::string> args,
                                                 const std::string& name) {
    args.push_back("--no-timing");
    mice_.push_back(std::make_unique<VirtualMouseProcess>(folder_.path(), args, name));
    return *mice_.back();
}

}  // namespace talvoro::test
