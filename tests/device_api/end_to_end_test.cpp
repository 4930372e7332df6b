// The shipped library, with the protocol's real waits, against a virtual
// mouse that enforces them: a host that asked too early would fail here.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "talvoro_api.h"

namespace talvoro::test {
namespace {

class EndToEnd : public ::testing::Test {
  protected:
    ~EndToEnd() override { Close_QX_device(); }

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path()};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
};

TEST_F(EndToEnd, ProfilesTravelBothWaysWithTheRealWaits) {
    VirtualMouseProcess mouse(folder_.path());
    ASSERT_EQ(Open_QX_device(), 1);
    uint16_t version = 0;
    uint8_t unused_a = 0;
    uint8_t unused_b = 0;
    EXPECT_EQ(Get_fw_info(&version, &unused_a, &unused_b), QX_STATUS_DONE);
    EXPECT_NE(version, 0);

    auto record = std::make_unique<ProfileRecord>();
    std::memset(record.get(), 0, sizeof(ProfileRecord));
    ASSERT_EQ(Read_profile(3, record.get()), QX_STATUS_DONE);
    EXPECT_EQ(record->profile_index, 3);
    record->cpi[0] = 1234;
    record->buttons[4] = ButtonEntry{0x03, 0x02, 0, 0, 1, 0};
    record->macros[4].event_count = 1;
    record->macros[4].events[0] = MacroEvent{0x10, 0, 0x0001, 0, {}, 250};
    ASSERT_EQ(Write_profile(3, record.get()), QX_STATUS_DONE);
    ASSERT_EQ(Set_current_profile_id(3), QX_STATUS_DONE);

    auto back = std::make_unique<ProfileRecord>();
    std::memset(back.get(), 0, sizeof(ProfileRecord));
    ASSERT_EQ(Read_profile(3, back.get()), QX_STATUS_DONE);
    EXPECT_EQ(back->cpi[0], 1234);
    EXPECT_EQ(back->macros[4].event_count, 1);
    EXPECT_EQ(back->macros[4].events[0].event_code, 0x0100);
    EXPECT_EQ(back->macros[4].events[0].event_delay_ms, 250u << 16);
    uint8_t slot = 0;
    EXPECT_EQ(Get_current_profile_id(&slot), QX_STATUS_DONE);
    EXPECT_EQ(slot, 3);
    EXPECT_EQ(mouse.read_state().at(10240), 3);
}

TEST_F(EndToEnd, TheMouseRejectsRepliesAskedForTooEarly) {
    VirtualMouseProcess mouse(folder_.path());
    ASSERT_EQ(Open_QX_device(), 1);

    // Select slot 2, and ask for the status at once instead of after 300 ms.
    uint8_t request[64] = {0x60, 0x04, 0, 0, 0, 2};
    ASSERT_EQ(SetFeature(request, sizeof request), 1);
    uint8_t reply[64] = {0x60};
    ASSERT_EQ(GetFeature(reply, sizeof reply), 1);
    EXPECT_NE(reply[1], 1) << "a reply before the wait is not valid yet";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::memset(reply, 0, sizeof reply);
    reply[0] = 0x60;
    ASSERT_EQ(GetFeature(reply, sizeof reply), 1);
    EXPECT_EQ(reply[1], 1) << "the same reply once the wait has passed";

    // A profile chunk asked for at once.
    uint8_t read_chunk[64] = {0x60, 0x07, 0, 0, 0, 0, 0};
    ASSERT_EQ(SetFeature(read_chunk, sizeof read_chunk), 1);
    auto bulk = std::make_unique<uint8_t[]>(1041);
    bulk[0] = 0x61;
    ASSERT_EQ(GetFeature(bulk.get(), 1041), 1);
    EXPECT_NE(bulk[1], 1);
}

TEST_F(EndToEnd, FirmwareReportsStartingAfterPlugIn) {
    VirtualMouseProcess mouse(folder_.path(), {"--starting-ms", "400"});
    ASSERT_EQ(Open_QX_device(), 1);
    uint16_t version = 0;
    ASSERT_EQ(Get_fw_version(&version), QX_STATUS_DONE);
    EXPECT_EQ(version, 0xCCCC);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    ASSERT_EQ(Get_fw_version(&version), QX_STATUS_DONE);
    EXPECT_NE(version, 0xCCCC);
}

}  // namespace
}  // namespace talvoro::test
