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

std::string mouse_interface_name(int mi) {
    char name[128];
    std::snprintf(
        name, sizeof name,
        R"(\\?\HID#VID_%04X&PID_%04X&MI_%02d#8&1f2e3d4c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        protocol::kVendorId, protocol::kProductId, mi);
    return name;
}

DeviceLinkTest::DeviceLinkTest()
    : link_(direct_api(), &record_link_wait),
      exchange_(*store_, link_, desktop_, ui_),
      presence_(link_, exchange_, *store_, ui_) {
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
