#include "store/store_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace talvoro {
namespace {

// A field with guard bytes on both sides, to see writes outside it.
struct GuardedField {
    char before[8];
    char field[256];
    char after[8];
    GuardedField() {
        std::memset(before, '#', sizeof before);
        std::memset(field, '#', sizeof field);
        std::memset(after, '#', sizeof after);
    }
    bool guards_intact() const {
        return std::string(before, 8) == "########" && std::string(after, 8) == "########";
    }
};

TEST(StoreText, LongTextKeepsAtMost255BytesAndTheRestOfTheFieldIsZero) {
    GuardedField guarded;
    copy_text(guarded.field, std::string(300, 'n'));
    EXPECT_EQ(std::strlen(guarded.field), 255u);
    EXPECT_TRUE(guarded.guards_intact());

    copy_text(guarded.field, "my.qxp");
    EXPECT_STREQ(guarded.field, "my.qxp");
    for (size_t i = 6; i < sizeof guarded.field; ++i)
        ASSERT_EQ(guarded.field[i], 0) << "byte " << i;
    EXPECT_TRUE(guarded.guards_intact());
}

TEST(StoreText, CutsOnlyAtACharacterBoundary) {
    // 254 ASCII bytes, then a character of 2, 3 or 4 bytes that does not fit.
    for (const std::string wide : {"\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x96\xB1"}) {
        GuardedField guarded;
        copy_text(guarded.field, std::string(254, 'a') + wide);
        EXPECT_EQ(std::strlen(guarded.field), 254u) << wide.size() << "-byte character";
    }
    // Characters of three bytes: 85 fit in 255 bytes exactly, the 86th does not.
    std::string chinese;
    for (int i = 0; i < 90; ++i)
        chinese += "\xE4\xB8\xAD";
    GuardedField guarded;
    copy_text(guarded.field, chinese);
    EXPECT_EQ(std::string(guarded.field), chinese.substr(0, 255));
    // Bytes that are not UTF-8 are cut like single characters.
    copy_text(guarded.field, std::string(300, '\x80'));
    EXPECT_EQ(std::strlen(guarded.field), 255u);
    EXPECT_EQ(fitting_length("ab\xE4\xB8\xAD", 4), 2u);
    EXPECT_EQ(fitting_length("ab\xE4\xB8\xAD", 5), 5u);
}

TEST(StoreText, FieldsWithoutTheirNulAreReadAndRepairedSafely) {
    GuardedField guarded;
    std::memset(guarded.field, 'x', sizeof guarded.field);
    EXPECT_EQ(field_text(guarded.field).size(), 256u);  // stops at the end of the field
    std::memcpy(guarded.field + 254, "\xC3\xA9", 2);
    terminate_field(guarded.field);
    EXPECT_EQ(std::strlen(guarded.field), 254u);  // the cut character goes whole
    EXPECT_TRUE(guarded.guards_intact());
}

TEST(StoreText, ProfileDisplayNameDropsAFinalQxpOfAnyCase) {
    EXPECT_EQ(profile_display_name("my.qxp"), "my");
    EXPECT_EQ(profile_display_name("MY.QXP"), "MY");
    EXPECT_EQ(profile_display_name("a.qxp.qxp"), "a.qxp");
    EXPECT_EQ(profile_display_name(".qxp"), ".qxp");  // nothing before it
    EXPECT_EQ(profile_display_name("notes.txt"), "notes.txt");
    EXPECT_EQ(profile_display_name(""), "");
}

TEST(StoreText, FileNamePartAndExtension) {
    EXPECT_EQ(file_name_part("/home/u/my.qxp"), "my.qxp");
    EXPECT_EQ(file_name_part("my.qxp"), "my.qxp");
    EXPECT_EQ(file_name_part("/home/u/"), "");
    EXPECT_TRUE(has_extension("/a.b/name.qxp"));
    EXPECT_FALSE(has_extension("/a.b/name"));
    EXPECT_FALSE(has_extension("/a/name."));
}

}  // namespace
}  // namespace talvoro
