// Macros between text steps and device events: what the mouse receives for
// each kind of step, and what a read rebuilds.
#include <gtest/gtest.h>

#include "codec_test_support.h"
#include "device/macro_codec.h"

namespace talvoro {
namespace {

using test::add_step;

std::unique_ptr<MacroRecord> empty_macro() {
    auto macro = std::make_unique<MacroRecord>();
    std::memset(macro.get(), 0, sizeof(MacroRecord));
    return macro;
}

std::unique_ptr<MacroSlot> encoded(const MacroRecord& macro) {
    auto slot = std::make_unique<MacroSlot>();
    std::memset(slot.get(), 0xEE, sizeof(MacroSlot));
    encode_macro(macro, *slot);
    return slot;
}

TEST(MacroCodec, StepsBecomeEventsWithTheirDelays) {
    auto macro = empty_macro();
    add_step(*macro, "t", "0.500", "");  // first: belongs to no event
    add_step(*macro, "k", " A ", "down");
    add_step(*macro, "t", "2.010", "");
    add_step(*macro, "t", "9.999", "");  // a second delay in a row adds nothing
    add_step(*macro, "k", " A ", "up");
    add_step(*macro, "m", "Left Click        ", "down");  // the recorder's padding
    add_step(*macro, "t", "1.500", "");
    add_step(*macro, "m", "Browser Backward  ", "up");
    add_step(*macro, "m", "Scroll Wheel Down ", "down");
    add_step(*macro, "m", "Scroll Wheel Click", "down");
    add_step(*macro, "m", "Wobble", "down");  // no mouse action: no event
    add_step(*macro, "k", " NoSuchKey ", "up");
    const auto slot = encoded(*macro);

    ASSERT_EQ(slot->event_count, 7);
    const MacroEvent* e = slot->events;
    EXPECT_EQ(e[0].event_type, 1);
    EXPECT_EQ(e[0].event_code, 4);  // usage of A
    EXPECT_EQ(e[0].event_action, 0);
    EXPECT_EQ(e[0].event_delay_ms, 2010u) << "exactly, not 2009";
    EXPECT_EQ(e[1].event_action, 1);
    EXPECT_EQ(e[1].event_delay_ms, 0u);
    EXPECT_EQ(e[2].event_type, 0x10);
    EXPECT_EQ(e[2].event_code, 1);
    EXPECT_EQ(e[2].event_delay_ms, 1500u);
    EXPECT_EQ(e[3].event_code, 0x08);
    EXPECT_EQ(e[4].event_type, 0x11);
    EXPECT_EQ(e[4].event_code, 0xFF);
    EXPECT_EQ(e[5].event_type, 0x10);
    EXPECT_EQ(e[5].event_code, 0x04) << "the wheel button as the recorder names it";
    EXPECT_EQ(e[6].event_type, 1);
    EXPECT_EQ(e[6].event_code, 0) << "a key missing from the table";
    EXPECT_EQ(e[7].event_type, 0) << "the rest of the slot is cleared";
    EXPECT_EQ(slot->pad_2[0], 0);
}

TEST(MacroCodec, AtMost128EventsOfAnyLength) {
    auto macro = empty_macro();
    for (int i = 0; i < 256; ++i)
        add_step(*macro, "k", " B ", i % 2 == 0 ? "down" : "up");
    EXPECT_EQ(encoded(*macro)->event_count, 128);
    EXPECT_EQ(macro_event_count(*macro), 256) << "what the mouse would lose is counted whole";
    macro->step_count = 300;  // a damaged file: never read past the steps
    EXPECT_EQ(encoded(*macro)->event_count, 128);
    EXPECT_EQ(macro_event_count(*macro), 256);
    macro->step_count = -4;
    EXPECT_EQ(encoded(*macro)->event_count, 0);
    EXPECT_EQ(macro_event_count(*macro), 0);

    // Delays and steps no event is made of are not counted.
    auto mixed = empty_macro();
    add_step(*mixed, "k", " A ", "down");
    add_step(*mixed, "t", "0.100", "");
    add_step(*mixed, "m", "Wobble", "down");
    add_step(*mixed, "m", "Right Click       ", "up");
    EXPECT_EQ(macro_event_count(*mixed), 2);
    EXPECT_EQ(encoded(*mixed)->event_count, 2);
}

TEST(MacroCodec, EventsReadFromTheMouseBecomeSteps) {
    auto slot = std::make_unique<MacroSlot>();
    std::memset(slot.get(), 0, sizeof(MacroSlot));
    // As Read_profile returns them: codes and delays byte-exchanged.
    slot->events[0] = MacroEvent{1, 0, 0x0400, 1, {}, 0x0A0000};  // A down, 10 ms
    slot->events[1] = MacroEvent{1, 0, 0x0400, 2, {}, 0xDC0500};  // A up, 1500 ms
    slot->events[2] = MacroEvent{0x10, 0, 0x1000, 1, {}, 0};      // browser forward
    slot->events[3] = MacroEvent{0x11, 0, 0xFF00, 2, {}, 0};      // wheel down
    slot->events[4] = MacroEvent{1, 0, 0xFE00, 7, {}, 0};         // unknown key, action
    slot->events[5] = MacroEvent{0x42, 0, 0, 1, {}, 0};           // ends the macro
    slot->events[6] = MacroEvent{1, 0, 0x0400, 1, {}, 0};
    slot->event_count = 7;

    auto macro = empty_macro();
    decode_macro(*slot, 3, *macro);
    EXPECT_EQ(+macro->number, 3);
    EXPECT_STREQ(macro->name, "MACRO_3");
    ASSERT_EQ(+macro->step_count, 7);
    EXPECT_STREQ(macro->steps[0].kind, "k");
    EXPECT_STREQ(macro->steps[0].text, " A ");
    EXPECT_STREQ(macro->steps[0].action, "down");
    EXPECT_STREQ(macro->steps[1].kind, "t");
    EXPECT_STREQ(macro->steps[1].text, "0.010");
    EXPECT_STREQ(macro->steps[1].action, "");
    EXPECT_STREQ(macro->steps[2].action, "up");
    EXPECT_STREQ(macro->steps[3].text, "1.500");
    EXPECT_STREQ(macro->steps[4].text, "Browser Forward");
    EXPECT_STREQ(macro->steps[5].text, "Scroll Wheel Down");
    EXPECT_STREQ(macro->steps[5].action, "up");
    EXPECT_STREQ(macro->steps[6].text, "unknown");
    EXPECT_STREQ(macro->steps[6].action, "unknown");

    // A name already there stays.
    std::snprintf(macro->name, sizeof macro->name, "Reload");
    decode_macro(*slot, 3, *macro);
    EXPECT_STREQ(macro->name, "Reload");
}

TEST(MacroCodec, ReadStepsStopGrowingAt128) {
    auto slot = std::make_unique<MacroSlot>();
    std::memset(slot.get(), 0, sizeof(MacroSlot));
    slot->event_count = 128;
    for (int j = 0; j < 128; ++j) {
        slot->events[j] =
            MacroEvent{1, 0, static_cast<uint16_t>((4 + j % 26) << 8), 1, {}, 0x010000};
    }
    auto macro = empty_macro();
    decode_macro(*slot, 1, *macro);
    EXPECT_EQ(+macro->step_count, 128);
    EXPECT_STREQ(macro->steps[127].kind, "t");
    EXPECT_EQ(macro->steps[129].kind[0], '\0') << "nothing written past step 128";
}

}  // namespace
}  // namespace talvoro
