// Packing records into the mouse's 2048-byte images and unpacking them:
// the offsets and byte orders the mouse expects, the direction-dependent
// rules callers rely on, and bounds on hostile input.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "profile_image.h"

namespace talvoro {
namespace {

std::unique_ptr<ProfileRecord> zeroed_record() {
    auto record = std::make_unique<ProfileRecord>();
    std::memset(record.get(), 0, sizeof(ProfileRecord));
    return record;
}

void make_macro(ProfileRecord& record, int entry, int events, uint8_t number) {
    record.buttons[entry].function_type = kFunctionMacro;
    record.buttons[entry].function_param = 1;
    record.buttons[entry].macro_number = number;
    record.macros[entry].event_count = static_cast<uint16_t>(events);
    for (int j = 0; j < events; ++j) {
        MacroEvent& event = record.macros[entry].events[j];
        event.event_type = 0x01;
        event.event_code = static_cast<uint16_t>(0x04 + j);
        event.event_action = static_cast<uint8_t>(j % 2);
        event.event_delay_ms = 10u * (j + 1);
    }
}

uint16_t swap16(uint16_t value) {
    return static_cast<uint16_t>((value << 8) | (value >> 8));
}

uint32_t swap_outer24(uint32_t value) {
    return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

TEST(ProfileImage, TwoMacrosArePackedInEntryOrderWithTerminators) {
    auto record = zeroed_record();
    make_macro(*record, 2, 3, 1);
    make_macro(*record, 5, 2, 2);
    ASSERT_TRUE(macros_fit(*record));
    ProfileImage image;
    pack_profile(*record, image);

    EXPECT_EQ(record->buttons[2].macro_offset, 780);
    EXPECT_EQ(record->buttons[2].macro_event_count, 3);
    EXPECT_EQ(record->buttons[5].macro_offset, 808);
    EXPECT_EQ(record->buttons[5].macro_event_count, 2);

    // Entry 2's events at 800..820, its terminator at 821..827, entry 5 from 828.
    EXPECT_EQ(image[800], 0x01);
    EXPECT_EQ(image[801], 0x04);
    EXPECT_EQ(image[814], 0x01);
    EXPECT_EQ(image[815], 0x06);
    for (int i = 821; i <= 827; ++i)
        EXPECT_EQ(image[i], 0) << "terminator byte " << i;
    EXPECT_EQ(image[828], 0x01);
    EXPECT_EQ(image[829], 0x04);
    for (int i = 842; i <= 848; ++i)
        EXPECT_EQ(image[i], 0) << "second terminator " << i;
    for (size_t i = 849; i < image.size(); ++i)
        ASSERT_EQ(image[i], 0) << "byte " << i;

    // The entries themselves, 7 bytes each from 0x50, offsets low byte first.
    const uint8_t entry2[7] = {0x03, 0x01, 0x0C, 0x03, 0x03, 0x00, 0x01};
    EXPECT_EQ(std::memcmp(&image[0x50 + 7 * 2], entry2, 7), 0);
    const uint8_t entry5[7] = {0x03, 0x01, 0x28, 0x03, 0x02, 0x00, 0x02};
    EXPECT_EQ(std::memcmp(&image[0x50 + 7 * 5], entry5, 7), 0);
}

TEST(ProfileImage, KeyEventBytesAndTheirReadBack) {
    auto record = zeroed_record();
    record->buttons[0].function_type = kFunctionMacro;
    record->macros[0].event_count = 1;
    record->macros[0].events[0] = MacroEvent{0x01, 0, 0x0004, 0, {}, 1000};
    ProfileImage image;
    pack_profile(*record, image);
    const uint8_t expected[7] = {0x01, 0x04, 0x00, 0x01, 0xE8, 0x03, 0x00};
    EXPECT_EQ(std::memcmp(&image[800], expected, 7), 0);

    auto back = zeroed_record();
    unpack_profile(image, *back);
    const MacroEvent& event = back->macros[0].events[0];
    EXPECT_EQ(back->macros[0].event_count, 1);
    EXPECT_EQ(event.event_code, 0x0400);
    EXPECT_EQ(event.event_action, 1);
    EXPECT_EQ(event.event_delay_ms, 0xE80300u);  // high to low: E8 03 00
}

TEST(ProfileImage, WheelEntriesKeepTheirActionsAcrossTheTrip) {
    auto record = zeroed_record();
    record->buttons[11] = ButtonEntry{0x01, 0x01, 0, 0, 0, 0};
    record->buttons[12] = ButtonEntry{0x01, 0xFF, 0, 0, 0, 0};
    ProfileImage image;
    pack_profile(*record, image);
    auto back = zeroed_record();
    unpack_profile(image, *back);
    EXPECT_EQ(back->buttons[11].function_type, 0x01);
    EXPECT_EQ(back->buttons[11].function_param, 0x01);
    EXPECT_EQ(back->buttons[12].function_param, 0xFF);

    // A macro on a wheel entry goes out unshifted and comes back one lower;
    // on a button it goes out one higher and comes back as the mouse holds it.
    make_macro(*record, 11, 1, 1);
    make_macro(*record, 3, 1, 2);
    record->macros[11].events[0].event_action = 2;
    record->macros[3].events[0].event_action = 1;
    pack_profile(*record, image);
    EXPECT_EQ(image[record->buttons[3].macro_offset + 20 + 3], 2);
    EXPECT_EQ(image[record->buttons[11].macro_offset + 20 + 3], 2);
    unpack_profile(image, *back);
    EXPECT_EQ(back->macros[3].events[0].event_action, 2);
    EXPECT_EQ(back->macros[11].events[0].event_action, 1);
}

TEST(ProfileImage, FixedFieldsLandAtTheirImageOffsets) {
    auto record = zeroed_record();
    record->profile_index = 3;
    record->in_use = 1;
    record->reserved_a = 0x1234;
    record->data_size = 0x0800;
    record->reserved_b = 0xBEEF;
    record->report_rate_code = 2;
    record->power_save_seconds = 120;
    std::memcpy(record->reserved_c, "\x0A\x0B\x0C\x0D", 4);
    record->angle_tuning = -3;
    for (int i = 0; i < 8; ++i)
        record->cpi[i] = static_cast<uint16_t>(400 * (i + 1) + 1);
    record->lift_off_code = 25;
    record->angle_snapping = 7;
    record->smoothing = 1;
    ProfileImage image;
    pack_profile(*record, image);

    EXPECT_EQ(image[0x00], 3);
    EXPECT_EQ(image[0x01], 1);
    EXPECT_EQ(image[0x02], 0x34);
    EXPECT_EQ(image[0x03], 0x12);
    EXPECT_EQ(image[0x11], 0x00);
    EXPECT_EQ(image[0x12], 0x08);
    EXPECT_EQ(image[0x13], 0xEF);
    EXPECT_EQ(image[0x14], 0xBE);
    EXPECT_EQ(image[0x15], 2);
    EXPECT_EQ(image[0x16], 120);
    EXPECT_EQ(image[0x17], 0x0A);
    EXPECT_EQ(image[0x1A], 0x0D);
    EXPECT_EQ(image[0x32], 401 & 0xFF);
    EXPECT_EQ(image[0x33], 401 >> 8);
    EXPECT_EQ(image[0x40], 3201 & 0xFF);
    EXPECT_EQ(image[0x41], 3201 >> 8);
    EXPECT_EQ(image[0x43], 0xFD);
    EXPECT_EQ(image[0x44], 7);  // angle snapping before lift-off: the offsets cross
    EXPECT_EQ(image[0x45], 25);
    EXPECT_EQ(image[0x46], 1);
    // No macro entry: the event area stays all zero.
    for (size_t i = 0x320; i < image.size(); ++i)
        ASSERT_EQ(image[i], 0) << "byte " << i;

    auto back = zeroed_record();
    unpack_profile(image, *back);
    EXPECT_EQ(back->angle_tuning, -3);
    EXPECT_EQ(back->lift_off_code, 25);
    EXPECT_EQ(back->angle_snapping, 7);
    EXPECT_EQ(back->reserved_b, 0xBEEF);
    EXPECT_EQ(std::memcmp(back->cpi, record->cpi, sizeof record->cpi), 0);
}

TEST(ProfileImage, UnpackWritesOnlyWhatTheImageCarries) {
    auto record = zeroed_record();
    make_macro(*record, 2, 2, 1);
    ProfileImage image;
    pack_profile(*record, image);

    auto target = std::make_unique<ProfileRecord>();
    std::memset(target.get(), 0xAB, sizeof(ProfileRecord));
    unpack_profile(image, *target);
    EXPECT_EQ(target->pad_15, 0xAB);
    EXPECT_EQ(target->pad_35, 0xAB);
    EXPECT_EQ(target->buttons[0].pad_7, 0xAB);
    EXPECT_EQ(target->macros[2].pad_2[0], 0xAB);
    EXPECT_EQ(target->macros[2].events[0].pad_1, 0xAB);
    EXPECT_EQ(target->macros[2].events[2].event_type, 0xAB) << "beyond the macro's events";
    // Entry 4 is no macro: its slot keeps every byte the caller put there.
    const auto* slot4 = reinterpret_cast<const uint8_t*>(&target->macros[4]);
    for (size_t i = 0; i < sizeof(MacroSlot); ++i)
        ASSERT_EQ(slot4[i], 0xAB) << i;
}

TEST(ProfileImage, MacrosThatDoNotFitAreRefused) {
    auto record = zeroed_record();
    record->macros[9].event_count = 165;  // the mouse's own limit, tested on slot 9 alone
    EXPECT_FALSE(macros_fit(*record));
    record->macros[9].event_count = 164;
    EXPECT_TRUE(macros_fit(*record));

    record = zeroed_record();
    make_macro(*record, 0, 1, 1);
    record->macros[0].event_count = 129;
    EXPECT_FALSE(macros_fit(*record)) << "more events than a slot holds";

    // 101 + 79 records overflow the 178 of the event area; 101 + 77 fill it exactly.
    record = zeroed_record();
    make_macro(*record, 0, 100, 1);
    make_macro(*record, 1, 78, 2);
    EXPECT_FALSE(macros_fit(*record));
    record->macros[1].event_count = 76;
    ASSERT_TRUE(macros_fit(*record));
    ProfileImage image;
    pack_profile(*record, image);
    // The last terminator ends at 800 + 178 * 7, inside the image.
    EXPECT_EQ(record->buttons[1].macro_offset + 20 + 76 * 7 + 7, 2046);
}

TEST(ProfileImage, HostileMacroOffsetsAndCountsAreClamped) {
    ProfileImage image{};
    auto set_entry = [&image](int k, uint16_t offset, uint16_t count) {
        uint8_t* entry = &image[0x50 + 7 * k];
        entry[0] = kFunctionMacro;
        entry[2] = static_cast<uint8_t>(offset);
        entry[3] = static_cast<uint8_t>(offset >> 8);
        entry[4] = static_cast<uint8_t>(count);
        entry[5] = static_cast<uint8_t>(count >> 8);
    };
    set_entry(0, 2040 - 20, 5);   // one whole event fits before the end
    set_entry(1, 3000, 4);        // starts beyond the image
    set_entry(2, 0xFFFF, 60000);  // wraps in 16 bits to byte 19; far too many events
    set_entry(3, 2045 - 20, 1);   // a partial event at the end
    auto record = zeroed_record();
    unpack_profile(image, *record);
    EXPECT_EQ(record->macros[0].event_count, 1);
    EXPECT_EQ(record->macros[1].event_count, 0);
    EXPECT_EQ(record->macros[2].event_count, TALVORO_MACRO_EVENTS);
    EXPECT_EQ(record->macros[3].event_count, 0);
    EXPECT_EQ(record->buttons[2].macro_event_count, 60000) << "the entry keeps the raw count";
}

TEST(ProfileImage, RandomImagesAndRecordsStayInBounds) {
    std::mt19937 random(7);
    ProfileImage image;
    auto record = zeroed_record();
    auto back = zeroed_record();
    for (int round = 0; round < 400; ++round) {
        for (auto& byte : image)
            byte = static_cast<uint8_t>(random());
        // Make macro entries likely, so the event reader is exercised.
        for (int k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
            if (random() % 2 != 0)
                image[0x50 + 7 * k] = kFunctionMacro;
        }
        unpack_profile(image, *record);
        for (const MacroSlot& slot : record->macros) {
            ASSERT_LE(slot.event_count, TALVORO_MACRO_EVENTS);
        }

        auto* raw = reinterpret_cast<uint8_t*>(record.get());
        for (size_t i = 0; i < sizeof(ProfileRecord); ++i)
            raw[i] = static_cast<uint8_t>(random());
        for (int k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
            record->macros[k].event_count = static_cast<uint16_t>(random() % 40);
            if (random() % 3 == 0)
                record->buttons[k].function_type = kFunctionMacro;
        }
        if (!macros_fit(*record))
            continue;
        pack_profile(*record, image);
        unpack_profile(image, *back);
        for (int k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
            if (record->buttons[k].function_type != kFunctionMacro)
                continue;
            ASSERT_EQ(back->macros[k].event_count, record->macros[k].event_count);
            for (int j = 0; j < record->macros[k].event_count; ++j) {
                const MacroEvent& sent = record->macros[k].events[j];
                const MacroEvent& got = back->macros[k].events[j];
                ASSERT_EQ(got.event_type, sent.event_type);
                ASSERT_EQ(got.event_code, swap16(sent.event_code));
                ASSERT_EQ(got.event_delay_ms, swap_outer24(sent.event_delay_ms & 0xFFFFFF));
                const uint8_t action = k < 11 ? static_cast<uint8_t>(sent.event_action + 1)
                                              : static_cast<uint8_t>(sent.event_action - 1);
                ASSERT_EQ(got.event_action, action);
            }
        }
    }
}

}  // namespace
}  // namespace talvoro
