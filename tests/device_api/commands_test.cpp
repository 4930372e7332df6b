// The device commands against a virtual mouse: what goes out, which wait is
// asked for, and that outputs stay untouched on every failure.
#include <array>

#include "library_fixture.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;
using Waits = std::vector<milliseconds>;

constexpr size_t kStateSlot = 10240;
constexpr size_t kStateLed = 10241;

using Commands = LibraryTest;

TEST_F(Commands, FirmwareQueriesShareOneCodeAndDifferInTheirWait) {
    start_mouse({"--firmware", "105"});
    ASSERT_EQ(Open_QX_device(), 1);
    uint16_t version = 0;
    uint8_t second = 0xAA;
    uint8_t third = 0xAA;
    recorded_waits().clear();
    EXPECT_EQ(Get_fw_info(&version, &second, &third), QX_STATUS_DONE);
    EXPECT_EQ(version, 105);
    EXPECT_EQ(Get_fw_version(&version), QX_STATUS_DONE);
    EXPECT_EQ(recorded_waits(), (Waits{milliseconds(20), milliseconds(10)}));
    Close_QX_device();

    // A mouse refusing code 0x02 refuses both, and neither output changes.
    start_mouse({"--refuse", "0x02"}, "refusing");
    mice_.front()->stop();
    ASSERT_EQ(Open_QX_device(), 1);
    version = 0x1111;
    second = third = 0x22;
    EXPECT_EQ(Get_fw_info(&version, &second, &third), QX_STATUS_REFUSED);
    EXPECT_EQ(Get_fw_version(&version), QX_STATUS_REFUSED);
    EXPECT_EQ(version, 0x1111);
    EXPECT_EQ(second, 0x22);
    EXPECT_EQ(third, 0x22);
}

TEST_F(Commands, ProfileSelectionAndLightingReachTheMouse) {
    auto& mouse = start_mouse();
    ASSERT_EQ(Open_QX_device(), 1);
    recorded_waits().clear();
    EXPECT_EQ(Set_current_profile_id(0x104), QX_STATUS_DONE);  // only the low byte goes out
    EXPECT_EQ(mouse.read_state().at(kStateSlot), 4);
    uint8_t slot = 0;
    EXPECT_EQ(Get_current_profile_id(&slot), QX_STATUS_DONE);
    EXPECT_EQ(slot, 4);

    EXPECT_EQ(Set_LED_black_out(), QX_STATUS_DONE);
    EXPECT_EQ(mouse.read_state().at(kStateLed), 1);
    EXPECT_EQ(Set_LED_black_out_off(), QX_STATUS_DONE);
    EXPECT_EQ(mouse.read_state().at(kStateLed), 0);
    EXPECT_EQ(recorded_waits(),
              (Waits{milliseconds(300), milliseconds(10), milliseconds(10), milliseconds(10)}));

    // A slot the mouse does not have is refused by the mouse itself.
    EXPECT_EQ(Set_current_profile_id(7), QX_STATUS_REFUSED);
    EXPECT_EQ(mouse.read_state().at(kStateSlot), 4);
}

TEST_F(Commands, RefusedAndFailedCommandsLeaveOutputsUntouched) {
    uint8_t slot = 0x77;
    uint16_t version = 0x4242;
    // No device: 3, and not even a wait.
    EXPECT_EQ(Get_current_profile_id(&slot), QX_STATUS_TRANSPORT);
    EXPECT_EQ(Get_fw_version(&version), QX_STATUS_TRANSPORT);
    EXPECT_EQ(Set_current_profile_id(1), QX_STATUS_TRANSPORT);
    EXPECT_EQ(Set_LED_black_out(), QX_STATUS_TRANSPORT);
    EXPECT_EQ(Set_LED_black_out_off(), QX_STATUS_TRANSPORT);
    std::array<uint8_t, 1024> block;
    block.fill(0x5A);
    EXPECT_EQ(Read_flash_block(0, block.data()), QX_STATUS_TRANSPORT);
    EXPECT_TRUE(recorded_waits().empty());

    start_mouse({"--refuse", "3"});
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(Get_current_profile_id(&slot), QX_STATUS_REFUSED);
    EXPECT_EQ(slot, 0x77);
    EXPECT_EQ(version, 0x4242);
    EXPECT_EQ(block[0], 0x5A);
}

TEST_F(Commands, DriverControlChecksTheModeBeforeSendingAndPollsBusy) {
    // The mouse unplugs on the first request it gets, so a request that went
    // out would show as a failure of the command after it.
    start_mouse({"--unplug-after", "1"});
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(Set_driver_control(1), QX_STATUS_REJECTED);
    EXPECT_EQ(Set_driver_control(0xFF), QX_STATUS_REJECTED);
    uint16_t version = 0;
    EXPECT_EQ(Get_fw_version(&version), QX_STATUS_TRANSPORT) << "its request was the first";
    Close_QX_device();

    start_mouse({}, "calm");
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(Set_driver_control(0), QX_STATUS_DONE);
    EXPECT_EQ(Set_driver_control(2), QX_STATUS_DONE);
    Close_QX_device();

    // Nine busy answers leave the tenth poll to say "done"; ten never do.
    start_mouse({"--busy-polls", "9"}, "busy9");
    mice_[1]->stop();
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(Set_driver_control(2), QX_STATUS_DONE);
    Close_QX_device();
    mice_[2]->stop();
    start_mouse({"--busy-polls", "10"}, "busy10");
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(Set_driver_control(2), QX_STATUS_TRANSPORT);
    EXPECT_TRUE(recorded_waits().empty()) << "the poll has no pause";
}

TEST_F(Commands, FlashBlocksAreReadAfterTheirWait) {
    auto& mouse = start_mouse();
    ASSERT_EQ(Open_QX_device(), 1);
    std::array<uint8_t, 1024> block{};
    recorded_waits().clear();
    // Block 0x101 sends its low byte, 1: the second half of slot 0's image.
    EXPECT_EQ(Read_flash_block(0x101, block.data()), QX_STATUS_DONE);
    EXPECT_EQ(recorded_waits(), (Waits{milliseconds(1000)}));
    const auto image = state_image(mouse, 0);
    ASSERT_EQ(image.size(), 2048u);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), image.begin() + 1024));
}

TEST_F(Commands, TheStubQueriesDoNothing) {
    EXPECT_EQ(Get_profile_state(), 1);
    EXPECT_EQ(Get_squal(), 1);
    EXPECT_EQ(Get_squal_avg(), 1);
    EXPECT_TRUE(recorded_waits().empty());
}

}  // namespace
}  // namespace talvoro::test
