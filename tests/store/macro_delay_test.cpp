#include "store/macro_delay.h"

#include <gtest/gtest.h>

#include <cstring>

namespace talvoro {
namespace {

TEST(MacroDelay, FormatsSecondsWithThreeDigitsOfMilliseconds) {
    char text[kDelayTextSize];
    std::memset(text, 'x', sizeof text);
    format_delay(50, text);
    EXPECT_STREQ(text, "0.050");
    EXPECT_EQ(text[kDelayTextSize - 1], 0);
    EXPECT_EQ(delay_text(1234), "1.234");
    EXPECT_EQ(delay_text(0), "0.000");
    EXPECT_EQ(delay_text(61005), "61.005");
    EXPECT_EQ(delay_text(UINT32_MAX), "4294967.295");
}

TEST(MacroDelay, ParsesDecimalSecondsExactly) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"2.010", 2010},
        {"1.500", 1500},
        {"1.2345", 1234},
        {"0.050", 50},
        {"0.05", 50},
        {"3", 3000},
        {".5", 500},
        {"  1.5s", 1500},
        {"+2.001", 2001},
        {"0.999999", 999},
        {"abc", 0},
        {"", 0},
        {".", 0},
        {"-1.5", 0},
        {"4294967.295", UINT32_MAX},
        {"4294967.296", UINT32_MAX},
        {"99999999999999999999.9", UINT32_MAX},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parse_delay_ms(text), expected) << '"' << text << '"';
    for (uint32_t ms : {0u, 1u, 9u, 10u, 99u, 100u, 999u, 1000u, 2010u, 123456u})
        EXPECT_EQ(parse_delay_ms(delay_text(ms)), ms);
}

TEST(MacroDelay, AFieldWithoutItsNulIsReadOnlyToItsEnd) {
    struct {
        char text[kDelayTextSize];
        char after[4];
    } step;
    // Read past its end, the text would be "000…07", seven seconds.
    std::memset(step.text, '0', sizeof step.text);
    std::memcpy(step.after, "7\0\0\0", 4);
    EXPECT_EQ(parse_delay_ms(step.text), 0u);
    std::memset(step.text, 0, sizeof step.text);
    std::memcpy(step.text, "0.250", 5);
    EXPECT_EQ(parse_delay_ms(step.text), 250u);
}

}  // namespace
}  // namespace talvoro
