// The firmware driven with a fake clock: replies, their waits, flash commits
// and faults, without sockets or sleeping.
#include "virtual_firmware.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "factory_images.h"

namespace talvoro::virtual_mouse {
namespace {

using std::chrono::milliseconds;
using Bytes = std::vector<uint8_t>;

const TimePoint kPlugIn{std::chrono::seconds(1000)};

Bytes command(uint8_t code, uint8_t slot = 0, uint8_t chunk = 0) {
    Bytes report(64, 0);
    report[0] = 0x60;
    report[1] = code;
    report[5] = slot;
    report[6] = chunk;
    return report;
}

Bytes write_chunk(uint8_t slot, uint8_t chunk, uint8_t fill) {
    Bytes report(1041, 0);
    report[0] = 0x61;
    report[1] = 0x08;
    report[5] = slot;
    report[6] = chunk;
    std::fill(report.begin() + 16, report.begin() + 1040, fill);
    return report;
}

Bytes control(uint8_t request, uint8_t block = 0) {
    Bytes report(8, 0);
    report[0] = 0x03;
    report[1] = request;
    report[4] = block;
    return report;
}

size_t length_of(uint8_t report_id) {
    switch (report_id) {
        case 0x60:
            return 64;
        case 0x61:
            return 1041;
        case 0x03:
            return 8;
        default:
            return 1025;
    }
}

class FirmwareTest : public ::testing::Test {
  protected:
    FirmwareTest() { start({}); }
    void start(const FaultPlan& faults) {
        firmware_.emplace(factory_state(kFactoryFirmwareVersion), faults, kPlugIn);
    }

    void set(const Bytes& report, TimePoint at, HostSession* host = nullptr) {
        ASSERT_TRUE(firmware_->set_feature(host ? *host : host_, report.data(), report.size(), at));
    }
    // The report read at `at`; empty when the call fails.
    Bytes get(uint8_t report_id, TimePoint at, HostSession* host = nullptr) {
        Bytes reply(length_of(report_id), 0xEE);  // the reply must overwrite all of it
        reply[0] = report_id;
        if (!firmware_->get_feature(host ? *host : host_, reply.data(), reply.size(), at)) {
            return {};
        }
        return reply;
    }
    // Sends `request`, lets `wait` pass and reads the reply's status.
    uint8_t status_after(const Bytes& request, milliseconds wait, uint8_t reply_id = 0x60) {
        set(request, now_);
        now_ += wait;
        return get(reply_id, now_).at(1);
    }
    uint16_t version_at(TimePoint at) {
        set(command(0x02), at);
        const Bytes reply = get(0x60, at + milliseconds{10});
        EXPECT_EQ(reply.at(1), 1);
        return static_cast<uint16_t>(reply.at(16) | reply.at(17) << 8);
    }
    const MouseState& state() const { return firmware_->state(); }

    std::optional<VirtualFirmware> firmware_;
    HostSession host_;
    TimePoint now_ = kPlugIn + std::chrono::seconds(10);
};

TEST_F(FirmwareTest, EveryReplyReadsStatusZeroUntilItsWaitHasPassed) {
    struct Timed {
        const char* name;
        Bytes request;
        milliseconds wait;
        uint8_t reply_id;
    };
    const Timed commands[] = {
        {"firmware", command(0x02), milliseconds{10}, 0x60},
        {"current slot", command(0x03), milliseconds{10}, 0x60},
        {"select slot", command(0x04, 1), milliseconds{300}, 0x60},
        {"read chunk", command(0x07, 1, 1), milliseconds{100}, 0x61},
        {"write chunk", write_chunk(1, 1, 0x5A), milliseconds{60}, 0x60},
        {"LED dark", command(0x30), milliseconds{10}, 0x60},
        {"LED lit", command(0x31), milliseconds{10}, 0x60},
    };
    for (const Timed& c : commands) {
        SCOPED_TRACE(c.name);
        set(c.request, now_);
        const Bytes early = get(c.reply_id, now_ + c.wait - milliseconds{1});
        ASSERT_FALSE(early.empty());
        EXPECT_EQ(early[0], c.reply_id);
        EXPECT_EQ(early[1], 0);
        EXPECT_TRUE(std::all_of(early.begin() + 2, early.end(), [](uint8_t b) { return b == 0; }));
        EXPECT_EQ(get(c.reply_id, now_ + c.wait).at(1), 1);
        now_ += c.wait;
    }
}

TEST_F(FirmwareTest, WithoutTimingRepliesAreValidAtOnce) {
    FaultPlan faults;
    faults.no_timing = true;
    start(faults);
    EXPECT_EQ(status_after(command(0x04, 1), milliseconds{0}), 1);
    EXPECT_EQ(status_after(command(0x07, 1, 0), milliseconds{0}, 0x61), 1);
    set(control(0xF1, 0), now_);
    EXPECT_EQ(get(0x05, now_).size(), 1025u);
}

TEST_F(FirmwareTest, WithoutRequestOrOnTheOtherReportStatusReadsZero) {
    EXPECT_EQ(get(0x60, now_).at(1), 0);
    EXPECT_EQ(get(0x61, now_).at(1), 0);
    EXPECT_EQ(get(0x03, now_).at(1), 0);
    set(command(0x07, 0, 0), now_);  // a chunk read is answered on the bulk report only
    EXPECT_EQ(get(0x60, now_ + milliseconds{200}).at(1), 0);
    EXPECT_EQ(get(0x61, now_ + milliseconds{200}).at(1), 1);
}

TEST_F(FirmwareTest, SlotAndLedCommandsChangeTheStoredState) {
    EXPECT_EQ(status_after(command(0x04, 3), milliseconds{300}), 1);
    EXPECT_TRUE(firmware_->take_state_change());
    EXPECT_FALSE(firmware_->take_state_change());
    set(command(0x03), now_);
    EXPECT_EQ(get(0x60, now_ + milliseconds{10}).at(16), 3);

    EXPECT_EQ(status_after(command(0x30), milliseconds{10}), 1);
    EXPECT_TRUE(state().led_dark);
    EXPECT_TRUE(firmware_->take_state_change());
    EXPECT_EQ(status_after(command(0x31), milliseconds{10}), 1);
    EXPECT_FALSE(state().led_dark);
}

TEST_F(FirmwareTest, ChunkReadReturnsThatHalfOfTheImage) {
    const ProfileImage expected = factory_image(2);
    for (uint8_t chunk : {0, 1}) {
        set(command(0x07, 2, chunk), now_);
        const Bytes reply = get(0x61, now_ + milliseconds{100});
        EXPECT_EQ(reply.at(1), 1);
        EXPECT_TRUE(
            std::equal(reply.begin() + 16, reply.begin() + 1040, expected.begin() + chunk * 1024))
            << "chunk " << int{chunk};
        EXPECT_EQ(reply.at(1040), 0);
    }
}

TEST_F(FirmwareTest, EachWrittenChunkIsCommittedAsItArrives) {
    EXPECT_EQ(status_after(write_chunk(1, 0, 0xA5), milliseconds{60}), 1);
    EXPECT_TRUE(firmware_->take_state_change());
    // The transfer stops here: new first half, old second half.
    const ProfileImage old_image = factory_image(1);
    const ProfileImage& image = state().images[1];
    EXPECT_TRUE(
        std::all_of(image.begin(), image.begin() + 1024, [](uint8_t b) { return b == 0xA5; }));
    EXPECT_TRUE(std::equal(image.begin() + 1024, image.end(), old_image.begin() + 1024));
    EXPECT_EQ(state().images[0], factory_image(0));
    EXPECT_EQ(state().images[2], factory_image(2));
}

TEST_F(FirmwareTest, BadArgumentsAndUnknownCodesAreRefusedWithoutEffect) {
    Bytes bulk_read = write_chunk(0, 0, 0x22);
    bulk_read[1] = 0x07;  // only writes travel on the bulk report
    EXPECT_EQ(status_after(command(0x04, 5), milliseconds{300}), 0xFF);
    EXPECT_EQ(status_after(command(0x07, 5, 0), milliseconds{100}, 0x61), 0xFF);
    EXPECT_EQ(status_after(command(0x07, 0, 2), milliseconds{100}, 0x61), 0xFF);
    EXPECT_EQ(status_after(write_chunk(5, 0, 0x11), milliseconds{60}), 0xFF);
    EXPECT_EQ(status_after(write_chunk(0, 2, 0x11), milliseconds{60}), 0xFF);
    EXPECT_EQ(status_after(command(0x55), milliseconds{0}), 0xFF);
    EXPECT_EQ(status_after(command(0x08), milliseconds{0}), 0xFF);
    EXPECT_EQ(status_after(bulk_read, milliseconds{0}), 0xFF);
    EXPECT_FALSE(firmware_->take_state_change());
    EXPECT_EQ(state(), factory_state(kFactoryFirmwareVersion));
}

TEST_F(FirmwareTest, BadReportIdsAndLengthsFailTheCall) {
    Bytes buffer(2048, 0);
    const std::pair<uint8_t, size_t> cases[] = {{0x42, 64}, {0x60, 63},   {0x60, 65}, {0x61, 1040},
                                                {0x03, 9},  {0x05, 1024}, {0x00, 1}};
    for (const auto& [id, length] : cases) {
        SCOPED_TRACE(testing::Message() << "id " << int{id} << " length " << length);
        buffer[0] = id;
        EXPECT_FALSE(firmware_->set_feature(host_, buffer.data(), length, now_));
        buffer[0] = id;
        EXPECT_FALSE(firmware_->get_feature(host_, buffer.data(), length, now_));
    }
    EXPECT_FALSE(firmware_->set_feature(host_, nullptr, 64, now_));
    EXPECT_FALSE(firmware_->get_feature(host_, buffer.data(), 0, now_));
    buffer[0] = 0x05;  // the flash report is read-only
    EXPECT_FALSE(firmware_->set_feature(host_, buffer.data(), 1025, now_));
}

TEST_F(FirmwareTest, ControlStepsReportDoneAndUnknownRequestsFail) {
    for (uint8_t request : {0x10, 0x00, 0x02}) {
        set(control(request), now_);
        EXPECT_EQ(get(0x03, now_).at(1), 1) << int{request};
    }
    set(control(0x01), now_);
    const uint8_t status = get(0x03, now_).at(1);
    EXPECT_TRUE(status != 1 && status != 3) << int{status};
}

TEST_F(FirmwareTest, FlashBlockIsReadableOnlyAfterItsWait) {
    EXPECT_TRUE(get(0x05, now_).empty());  // nothing asked for
    set(control(0xF1, 3), now_);
    EXPECT_TRUE(get(0x05, now_ + milliseconds{999}).empty());
    const Bytes block = get(0x05, now_ + milliseconds{1000});
    ASSERT_EQ(block.size(), 1025u);
    const ProfileImage image = factory_image(1);  // block 3: second half of slot 1
    EXPECT_TRUE(std::equal(block.begin() + 1, block.end(), image.begin() + 1024));

    set(control(0xF1, 10), now_);  // past the five images: erased flash
    const Bytes erased = get(0x05, now_ + milliseconds{1000});
    ASSERT_EQ(erased.size(), 1025u);
    EXPECT_EQ(std::count(erased.begin() + 1, erased.end(), 0xFF), 1024);

    set(control(0x10), now_);  // another control request replaces the flash read
    EXPECT_TRUE(get(0x05, now_ + milliseconds{2000}).empty());
}

TEST_F(FirmwareTest, HostsHaveTheirOwnRepliesButShareTheFlash) {
    HostSession other;
    set(command(0x04, 4), now_);
    EXPECT_EQ(get(0x60, now_ + milliseconds{300}, &other).at(1), 0);
    set(command(0x03), now_, &other);
    const Bytes current = get(0x60, now_ + milliseconds{10}, &other);
    EXPECT_EQ(current.at(1), 1);
    EXPECT_EQ(current.at(16), 4);
}

TEST_F(FirmwareTest, RefusedCodesGetStatusFFAndDoNotAct) {
    FaultPlan faults;
    faults.refused_codes[0x04] = true;
    faults.refused_codes[0x08] = true;
    start(faults);
    EXPECT_EQ(status_after(command(0x04, 2), milliseconds{300}), 0xFF);
    EXPECT_EQ(status_after(write_chunk(0, 0, 0x33), milliseconds{60}), 0xFF);
    EXPECT_FALSE(firmware_->take_state_change());
    EXPECT_EQ(state(), factory_state(kFactoryFirmwareVersion));
    EXPECT_EQ(status_after(command(0x03), milliseconds{10}), 1);  // others still answer
}

TEST_F(FirmwareTest, FirstPollsAfterEachControlRequestAnswerBusy) {
    FaultPlan faults;
    faults.busy_polls = 2;
    start(faults);
    for (int round = 0; round < 2; ++round) {
        set(control(0x10), now_);
        Bytes statuses;
        for (int poll = 0; poll < 4; ++poll)
            statuses.push_back(get(0x03, now_).at(1));
        EXPECT_EQ(statuses, (Bytes{3, 3, 1, 1}));
    }
}

TEST_F(FirmwareTest, VersionReadsCCCCForAWhileAfterEachPlugIn) {
    FaultPlan faults;
    faults.starting_window = milliseconds{500};
    start(faults);
    EXPECT_EQ(version_at(kPlugIn + milliseconds{499}), 0xCCCC);
    EXPECT_EQ(version_at(kPlugIn + milliseconds{500}), 105);
    const TimePoint replugged = kPlugIn + std::chrono::seconds(5);
    firmware_->plug_in(replugged);
    EXPECT_EQ(version_at(replugged + milliseconds{100}), 0xCCCC);
    EXPECT_EQ(version_at(replugged + milliseconds{600}), 105);
}

TEST_F(FirmwareTest, UnplugsOnceAsTheNthRequestArrives) {
    FaultPlan faults;
    faults.unplug_after_requests = 3;
    start(faults);
    std::vector<bool> served, unplugs;
    for (const Bytes& request :
         {command(0x04, 1), command(0x04, 2), command(0x30), command(0x03)}) {
        served.push_back(firmware_->set_feature(host_, request.data(), request.size(), now_));
        unplugs.push_back(firmware_->take_unplug_request());
    }
    EXPECT_EQ(served, (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(unplugs, (std::vector<bool>{false, false, true, false}));
    EXPECT_FALSE(state().led_dark);  // the request it left on was not served
    EXPECT_EQ(state().current_slot, 2);
}

TEST_F(FirmwareTest, UnplugsOnceTheFirstChunkOfATransferIsAnswered) {
    FaultPlan faults;
    faults.unplug_mid_transfer = true;
    start(faults);
    set(command(0x07, 0, 1), now_);
    EXPECT_EQ(get(0x61, now_ + milliseconds{100}).at(1), 1);
    EXPECT_FALSE(firmware_->take_unplug_request());  // chunk 1 ends a transfer
    set(write_chunk(2, 0, 0x77), now_);
    EXPECT_EQ(get(0x60, now_ + milliseconds{10}).at(1), 0);  // not answered yet
    EXPECT_FALSE(firmware_->take_unplug_request());
    EXPECT_EQ(get(0x60, now_ + milliseconds{60}).at(1), 1);
    EXPECT_TRUE(firmware_->take_unplug_request());
    set(command(0x07, 0, 0), now_);
    EXPECT_EQ(get(0x61, now_ + milliseconds{100}).at(1), 1);
    EXPECT_FALSE(firmware_->take_unplug_request());  // once per run

    start(faults);  // a fresh run: the first read chunk counts too
    set(command(0x07, 3, 0), now_);
    EXPECT_EQ(get(0x61, now_ + milliseconds{100}).at(1), 1);
    EXPECT_TRUE(firmware_->take_unplug_request());
}

}  // namespace
}  // namespace talvoro::virtual_mouse
