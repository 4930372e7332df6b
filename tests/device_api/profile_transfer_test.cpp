// Read_profile and Write_profile through the virtual mouse: the image the
// mouse stores, the slot it lands in, and what a failure leaves behind.
#include <cstring>

#include "library_fixture.h"
#include "profile_image.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;
using Waits = std::vector<milliseconds>;

std::unique_ptr<ProfileRecord> filled_record(uint8_t index) {
    auto record = std::make_unique<ProfileRecord>();
    std::memset(record.get(), 0, sizeof(ProfileRecord));
    record->profile_index = index;
    record->in_use = 1;
    record->data_size = 2048;
    record->report_rate_code = 3;
    record->power_save_seconds = 60;
    for (int i = 0; i < 8; ++i)
        record->cpi[i] = static_cast<uint16_t>(500 + 100 * i);
    record->lift_off_code = 12;
    record->angle_snapping = 4;
    record->smoothing = 1;
    for (int k = 0; k < 11; ++k)
        record->buttons[k] = ButtonEntry{0x0A, 0x01, 0, 0, 0, 0};
    record->buttons[11] = ButtonEntry{0x01, 0x01, 0, 0, 0, 0};
    record->buttons[12] = ButtonEntry{0x01, 0xFF, 0, 0, 0, 0};
    // Macros on entries 2 and 5 with 3 and 2 events.
    for (int k : {2, 5}) {
        record->buttons[k] = ButtonEntry{kFunctionMacro, 0xF1, 0, 0, static_cast<uint8_t>(k), 0};
        record->macros[k].event_count = k == 2 ? 3 : 2;
        for (int j = 0; j < record->macros[k].event_count; ++j) {
            record->macros[k].events[j] = MacroEvent{0x01, 0, 0x0004, 0, {}, 1000};
        }
    }
    return record;
}

using ProfileTransfer = LibraryTest;

TEST_F(ProfileTransfer, WriteStoresThePackedImageInTheRecordsOwnSlot) {
    auto& mouse = start_mouse();
    const auto slot3_before = state_image(mouse, 3);
    ASSERT_EQ(Open_QX_device(), 1);
    auto record = filled_record(1);
    recorded_waits().clear();
    // The slot argument is not used: the record's profile_index (1) is the target.
    ASSERT_EQ(Write_profile(3, record.get()), QX_STATUS_DONE);
    EXPECT_EQ(recorded_waits(), (Waits{milliseconds(60), milliseconds(60)}));
    EXPECT_EQ(record->buttons[2].macro_offset, 780) << "stored back into the caller's record";
    EXPECT_EQ(record->buttons[5].macro_offset, 808);

    const auto slot1 = state_image(mouse, 1);
    ASSERT_EQ(slot1.size(), 2048u);
    EXPECT_EQ(slot1[0x00], 1);
    EXPECT_EQ(slot1[0x15], 3);
    EXPECT_EQ(slot1[0x44], 4);
    EXPECT_EQ(slot1[0x45], 12);
    const uint8_t key_event[7] = {0x01, 0x04, 0x00, 0x01, 0xE8, 0x03, 0x00};
    EXPECT_EQ(std::memcmp(&slot1[800], key_event, 7), 0);
    EXPECT_EQ(std::memcmp(&slot1[828], key_event, 7), 0) << "entry 5's first event";
    EXPECT_EQ(state_image(mouse, 3), slot3_before);

    // Reading it back: the slot's image, unpacked by the reading rules.
    auto back = std::make_unique<ProfileRecord>();
    std::memset(back.get(), 0, sizeof(ProfileRecord));
    recorded_waits().clear();
    ASSERT_EQ(Read_profile(1, back.get()), QX_STATUS_DONE);
    EXPECT_EQ(recorded_waits(), (Waits{milliseconds(100), milliseconds(100)}));
    EXPECT_EQ(back->profile_index, 1);
    EXPECT_EQ(back->lift_off_code, 12);
    EXPECT_EQ(back->angle_snapping, 4);
    EXPECT_EQ(back->macros[5].event_count, 2);
    EXPECT_EQ(back->macros[5].events[1].event_code, 0x0400);
    EXPECT_EQ(back->macros[5].events[1].event_action, 1);
    EXPECT_EQ(back->macros[5].events[1].event_delay_ms, 0xE80300u);
    EXPECT_EQ(back->buttons[12].function_param, 0xFF);
    EXPECT_EQ(back->macros[4].event_count, 0) << "entry 4 is no macro: its slot is untouched";
}

TEST_F(ProfileTransfer, FailuresLeaveTheRecordUntouched) {
    auto record = std::make_unique<ProfileRecord>();
    std::memset(record.get(), 0x3C, sizeof(ProfileRecord));
    auto copy = std::make_unique<ProfileRecord>(*record);

    EXPECT_EQ(Read_profile(0, record.get()), QX_STATUS_TRANSPORT) << "no device open";
    EXPECT_EQ(std::memcmp(record.get(), copy.get(), sizeof(ProfileRecord)), 0);

    start_mouse({"--refuse", "7"});
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(Read_profile(0, record.get()), QX_STATUS_REFUSED);
    EXPECT_EQ(std::memcmp(record.get(), copy.get(), sizeof(ProfileRecord)), 0);
}

TEST_F(ProfileTransfer, UnpackableRecordsAreRefusedBeforeAnythingIsSent) {
    auto& mouse = start_mouse({"--unplug-after", "1"});
    const auto state_before = mouse.read_state();
    ASSERT_EQ(Open_QX_device(), 1);

    auto slot_nine = filled_record(0);
    slot_nine->macros[9].event_count = 165;
    auto too_long = filled_record(0);
    too_long->macros[2].event_count = 129;
    auto too_many = filled_record(0);
    too_many->macros[2].event_count = 100;
    too_many->macros[5].event_count = 78;
    for (ProfileRecord* record : {slot_nine.get(), too_long.get(), too_many.get()}) {
        const ProfileRecord copy = *record;
        EXPECT_EQ(Write_profile(0, record), QX_STATUS_REJECTED);
        EXPECT_EQ(std::memcmp(record, &copy, sizeof copy), 0) << "the record is untouched";
    }
    EXPECT_EQ(mouse.read_state(), state_before);
    uint16_t version = 0;
    EXPECT_EQ(Get_fw_version(&version), QX_STATUS_TRANSPORT)
        << "the mouse got its first request only now";
}

TEST_F(ProfileTransfer, UnplugInTheMiddleOfATransfer) {
    auto& mouse = start_mouse({"--unplug-mid-transfer"});
    const auto old_image = state_image(mouse, 2);
    ASSERT_EQ(Open_QX_device(), 1);
    auto record = filled_record(2);
    EXPECT_EQ(Write_profile(2, record.get()), QX_STATUS_TRANSPORT);

    // The first half was committed before the mouse went; the second is the old one.
    const auto half_written = state_image(mouse, 2);
    ProfileImage expected;
    pack_profile(*record, expected);
    ASSERT_EQ(half_written.size(), 2048u);
    EXPECT_TRUE(std::equal(half_written.begin(), half_written.begin() + 1024, expected.begin()));
    EXPECT_TRUE(
        std::equal(half_written.begin() + 1024, half_written.end(), old_image.begin() + 1024));

    // Reading from a mouse that leaves half-way leaves the record as it was.
    mouse.stop();
    start_mouse({"--unplug-mid-transfer"}, "reader");
    ASSERT_EQ(Open_QX_device(), 1);
    auto target = std::make_unique<ProfileRecord>();
    std::memset(target.get(), 0x11, sizeof(ProfileRecord));
    const ProfileRecord copy = *target;
    EXPECT_EQ(Read_profile(2, target.get()), QX_STATUS_TRANSPORT);
    EXPECT_EQ(std::memcmp(target.get(), &copy, sizeof copy), 0);
}

}  // namespace
}  // namespace talvoro::test
