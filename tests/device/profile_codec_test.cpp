// The store's five profiles as device records and back.
#include <gtest/gtest.h>

#include "codec_test_support.h"
#include "store/button_function.h"

namespace talvoro {
namespace {

using test::add_step;
using test::zeroed_records;
using test::zeroed_store;

void default_profile(ProfileBlock& block) {
    block.in_use = 1;
    block.report_rate_hz = 500;
    block.power_save_seconds = 60;
    block.lift_off_level = 7;
    block.angle_snapping_level = 3;
    block.smoothing = 1;
    for (int k = 0; k < kCpiValues; ++k)
        block.laser_cpi[k] = 800 + 100 * k;
    for (int b = 0; b < kButtonCount; ++b)
        block.button_function[b] = kDefaultButtons[b];
}

TEST(ProfileCodec, EncodeFillsEveryFieldOfTheRecords) {
    auto store = zeroed_store();
    for (ProfileBlock& block : store->profiles)
        default_profile(block);
    store->current_profile = 3;
    ProfileBlock& block = store->profiles[2];
    block.angle_snapping_level = 14;
    block.angle_tuning = 9;
    block.button_function[3] = kSingleKey;
    block.button_param[3] = 0x70;  // F1
    block.button_function[4] = kSingleKey;
    block.button_param[4] = 0xE9;  // no such key
    block.button_function[5] = kMacro;
    block.button_param[5] = 2;
    block.macro_play_mode[5] = kPlayToggle;
    block.button_function[6] = kMacro;
    block.button_param[6] = 0;       // counts as macro 1
    block.macro_play_mode[6] = 150;  // not a mode: plays once
    block.button_function[7] = kMacro;
    block.button_param[7] = 77;  // no macro can have this number
    add_step(store->macro_store.macros[1], "k", " Enter ", "down");
    auto records = zeroed_records();

    EXPECT_EQ(encode_profiles(*store, *records), 3);
    const ProfileRecord& r = (*records)[2];
    EXPECT_EQ(r.profile_index, 2);
    EXPECT_EQ(r.in_use, 1);
    EXPECT_EQ(r.data_size, 2048);
    EXPECT_EQ(r.report_rate_code, 2);
    EXPECT_EQ(+r.power_save_seconds, 60);
    EXPECT_EQ(r.lift_off_code, 12);
    EXPECT_EQ(r.angle_snapping, 10);
    EXPECT_EQ(+store->profiles[2].angle_snapping_level, 10) << "the store is clamped as well";
    EXPECT_EQ(r.angle_tuning, 0) << "never sent";
    EXPECT_EQ(r.smoothing, 1);
    EXPECT_EQ(r.cpi[7], 1500);
    EXPECT_EQ(r.buttons[0].function_type, 0);
    EXPECT_EQ(r.buttons[0].function_param, 1);
    EXPECT_EQ(r.buttons[3].function_type, 2);
    EXPECT_EQ(r.buttons[3].function_param, 58);
    EXPECT_EQ(r.buttons[4].function_param, 0);
    EXPECT_EQ(r.buttons[5].function_type, 3);
    EXPECT_EQ(r.buttons[5].function_param, kPlayToggle);
    EXPECT_EQ(r.buttons[5].macro_number, 2);
    EXPECT_EQ(r.macros[5].event_count, 1);
    EXPECT_EQ(r.macros[5].events[0].event_code, 40);
    EXPECT_EQ(r.buttons[6].macro_number, 1);
    EXPECT_EQ(r.buttons[6].function_param, 1);
    EXPECT_EQ(r.buttons[7].function_type, 0xFF);
    EXPECT_EQ(r.buttons[11].function_type, 1);
    EXPECT_EQ(r.buttons[11].function_param, 1);
    EXPECT_EQ(r.buttons[12].function_param, 0xFF);
}

TEST(ProfileCodec, TheCurrentProfileIsRepairedBeforeSending) {
    auto store = zeroed_store();
    auto records = zeroed_records();
    for (ProfileBlock& block : store->profiles)
        default_profile(block);
    for (int32_t bad : {0, 6, -1}) {
        store->current_profile = bad;
        EXPECT_EQ(encode_profiles(*store, *records), 1) << bad;
        EXPECT_EQ(store->current_profile, 1);
    }
    store->current_profile = 2;
    store->profiles[1].in_use = 0;
    store->profiles[0].in_use = 0;
    EXPECT_EQ(encode_profiles(*store, *records), 3) << "the first profile in use";
    EXPECT_EQ((*records)[1].in_use, 0);
    for (ProfileBlock& block : store->profiles)
        block.in_use = 0;
    store->current_profile = 4;
    EXPECT_EQ(encode_profiles(*store, *records), 4) << "none in use: nothing changes";
}

TEST(ProfileCodec, DecodeRebuildsBlocksAndMacros) {
    auto store = zeroed_store();
    for (ProfileBlock& block : store->profiles)
        default_profile(block);
    store->profiles[0].file_name[0] = 'x';
    store->profiles[0].optical_cpi[0] = 5;
    auto records = zeroed_records();
    ProfileRecord& r = (*records)[0];
    r.in_use = 7;
    r.report_rate_code = 3;
    r.power_save_seconds = 120;
    r.angle_snapping = 12;
    r.lift_off_code = 0;
    r.angle_tuning = -5;
    r.smoothing = 1;
    r.cpi[0] = 1234;
    r.buttons[0] = ButtonEntry{0, 0x10, 0, 0, 0, 0};
    r.buttons[1] = ButtonEntry{2, 58, 0, 0, 0, 0};    // F1
    r.buttons[2] = ButtonEntry{2, 0xE9, 0, 0, 0, 0};  // a usage the table lacks
    r.buttons[3] = ButtonEntry{3, 5, 0, 1, 4, 0};
    r.macros[3].event_count = 1;
    r.macros[3].events[0] = MacroEvent{1, 0, 0x2800, 1, {}, 0};
    r.buttons[4] = ButtonEntry{3, 0xF1, 0, 1, 16, 0};  // past the table
    r.buttons[5] = ButtonEntry{0x0C, 0x33, 0, 0, 0, 0};
    r.buttons[6] = ButtonEntry{0x42, 1, 0, 0, 0, 0};

    decode_profiles(*records, 0, *store);
    const ProfileBlock& block = store->profiles[0];
    EXPECT_EQ(store->current_profile, 1) << "no current profile reported";
    EXPECT_EQ(block.in_use, 1);
    EXPECT_EQ(+block.report_rate_hz, 250);
    EXPECT_EQ(+block.power_save_seconds, 120);
    EXPECT_EQ(+block.angle_snapping_level, 10);
    EXPECT_EQ(r.angle_snapping, 10) << "the mirror is clamped too";
    EXPECT_EQ(+block.lift_off_level, 0);
    EXPECT_EQ(block.angle_tuning, 0);
    EXPECT_EQ(+block.laser_cpi[0], 1234);
    EXPECT_EQ(block.file_name[0], 0) << "fields no record carries are cleared";
    EXPECT_EQ(+block.optical_cpi[0], 0);
    EXPECT_EQ(+block.button_function[0], kBrowserForward);
    EXPECT_EQ(+block.button_function[1], kSingleKey);
    EXPECT_EQ(+block.button_param[1], 0x70);
    EXPECT_EQ(+block.button_function[2], kSingleKey);
    EXPECT_EQ(+block.button_param[2], 0);
    EXPECT_EQ(+block.button_function[3], kMacro);
    EXPECT_EQ(+block.button_param[3], 4);
    EXPECT_EQ(+block.macro_play_mode[3], 5);
    EXPECT_EQ(+store->macro_store.macros[3].number, 4);
    EXPECT_STREQ(store->macro_store.macros[3].steps[0].text, " Enter ");
    EXPECT_EQ(+block.button_function[4], kDefaultButtons[4]) << "macro 16 does not exist";
    EXPECT_EQ(+block.button_function[5], kSniperSwitch);
    EXPECT_EQ(+block.button_function[6], kFunctionNone);

    decode_profiles(*records, 5, *store);
    EXPECT_EQ(store->current_profile, 5);
}

TEST(ProfileCodec, CompactionRenumbersMacrosAndButtons) {
    auto store = zeroed_store();
    MacroStore& macros = store->macro_store;
    macros.macros[1].number = 2;
    std::snprintf(macros.macros[1].name, sizeof macros.macros[1].name, "two");
    macros.macros[4].number = 5;
    std::snprintf(macros.macros[4].name, sizeof macros.macros[4].name, "five");
    std::snprintf(macros.macros[0].name, sizeof macros.macros[0].name, "page-made");
    store->profiles[0].button_function[2] = kMacro;
    store->profiles[0].button_param[2] = 5;
    store->profiles[3].button_function[9] = kMacro;
    store->profiles[3].button_param[9] = 2;
    store->profiles[3].button_function[8] = kSingleKey;
    store->profiles[3].button_param[8] = 5;  // a key code, not a macro number

    compact_macros(*store);
    EXPECT_EQ(+macros.macro_count, 2);
    EXPECT_STREQ(macros.macros[0].name, "two") << "moved forward over a page-made macro";
    EXPECT_EQ(+macros.macros[0].number, 1);
    EXPECT_STREQ(macros.macros[1].name, "five");
    EXPECT_EQ(+macros.macros[1].number, 2);
    EXPECT_EQ(+macros.macros[4].number, 0);
    EXPECT_EQ(macros.macros[4].name[0], 0);
    EXPECT_EQ(+store->profiles[0].button_param[2], 2);
    EXPECT_EQ(+store->profiles[3].button_param[9], 1);
    EXPECT_EQ(+store->profiles[3].button_param[8], 5);
}

TEST(ProfileCodec, TwoButtonsNamingOneMacroShareIt) {
    auto store = zeroed_store();
    auto records = zeroed_records();
    for (int b : {1, 2}) {
        (*records)[0].buttons[b] = ButtonEntry{3, 1, 0, 0, 1, 0};
        (*records)[0].macros[b].event_count = 1;
        (*records)[0].macros[b].events[0] =
            MacroEvent{1, 0, static_cast<uint16_t>((b == 1 ? 4 : 5) << 8), 1, {}, 0};
    }
    decode_profiles(*records, 1, *store);
    compact_macros(*store);
    EXPECT_EQ(+store->macro_store.macro_count, 1);
    EXPECT_STREQ(store->macro_store.macros[0].steps[0].text, " B ") << "the later button wins";
}

TEST(ProfileCodec, EverythingThePagesSetSurvivesTheTrip) {
    auto store = zeroed_store();
    for (ProfileBlock& block : store->profiles)
        default_profile(block);
    store->profiles[1].button_function[4] = kMacro;
    store->profiles[1].button_param[4] = 1;
    store->profiles[1].macro_play_mode[4] = 12;
    MacroRecord& macro = store->macro_store.macros[0];
    add_step(macro, "k", " Ctrl ", "down");
    add_step(macro, "t", "0.250", "");
    add_step(macro, "m", "Right Click    ", "down");
    add_step(macro, "m", "Right Click    ", "up");
    store->macro_store.macro_count = 1;
    store->current_profile = 2;
    auto records = zeroed_records();
    encode_profiles(*store, *records);

    // What Read_profile hands back differs from what was written: codes and
    // delays byte-exchanged, actions shifted to 1/2.
    for (ProfileRecord& record : *records) {
        for (int b = 0; b < kButtonCount; ++b) {
            for (MacroEvent& event : record.macros[b].events) {
                event.event_code =
                    static_cast<uint16_t>((event.event_code << 8) | (event.event_code >> 8));
                const uint32_t d = event.event_delay_ms;
                event.event_delay_ms = ((d & 0xFF) << 16) | (d & 0xFF00) | ((d >> 16) & 0xFF);
                event.event_action = static_cast<uint8_t>(event.event_action + 1);
            }
        }
    }
    auto fresh = zeroed_store();
    decode_profiles(*records, 2, *fresh);
    compact_macros(*fresh);
    for (int i = 0; i < kProfileCount; ++i) {
        const ProfileBlock& a = store->profiles[i];
        const ProfileBlock& b = fresh->profiles[i];
        EXPECT_EQ(+b.report_rate_hz, +a.report_rate_hz);
        EXPECT_EQ(+b.lift_off_level, +a.lift_off_level);
        EXPECT_EQ(+b.angle_snapping_level, +a.angle_snapping_level);
        EXPECT_EQ(std::memcmp(b.laser_cpi, a.laser_cpi, sizeof a.laser_cpi), 0);
        EXPECT_EQ(std::memcmp(b.button_function, a.button_function, sizeof a.button_function), 0);
    }
    EXPECT_EQ(+fresh->profiles[1].macro_play_mode[4], 12);
    const MacroRecord& back = fresh->macro_store.macros[0];
    ASSERT_EQ(+back.step_count, 4);
    EXPECT_STREQ(back.steps[0].text, " Ctrl ");
    EXPECT_STREQ(back.steps[1].text, "0.250");
    EXPECT_STREQ(back.steps[2].text, "Right Click    ");
    EXPECT_STREQ(back.steps[3].action, "up");
    EXPECT_EQ(fresh->current_profile, 2);
}

}  // namespace
}  // namespace talvoro
