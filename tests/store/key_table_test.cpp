// The key table: its rows as the mouse and the desktop number keys, and the
// lookups every conversion goes through.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "store/key_table.h"

namespace talvoro {
namespace {

TEST(KeyTable, RowsAndTheirEnd) {
    ASSERT_EQ(key_table().size(), 104u);
    ASSERT_EQ(key_table_with_end().size(), 105u);
    EXPECT_EQ(key_table_with_end().back().virtual_key, 0);
    EXPECT_STREQ(key_table().front().name, " BackSpace ");
    EXPECT_STREQ(key_table().back().name, " , ");

    std::set<std::string> names;
    std::set<int> keys;
    for (const KeyRow& row : key_table()) {
        EXPECT_EQ(row.name[0], ' ') << row.name;
        EXPECT_EQ(row.name[std::string(row.name).size() - 1], ' ') << row.name;
        names.insert(row.name);
        keys.insert(row.virtual_key);
    }
    EXPECT_EQ(names.size(), 104u) << "names are unique";
    EXPECT_EQ(keys.size(), 104u) << "virtual keys are unique";
}

TEST(KeyTable, LookupsAgreeWithEachOther) {
    for (const KeyRow& row : key_table()) {
        EXPECT_EQ(key_by_virtual_key(row.virtual_key), &row) << row.name;
        EXPECT_EQ(key_by_usage(row.usage), &row) << row.name;
        EXPECT_EQ(key_by_name(row.name), &row) << row.name;
    }
    // A few rows whose numbers differ from the simple runs around them.
    EXPECT_EQ(key_by_virtual_key('0')->usage, 39);
    EXPECT_EQ(key_by_virtual_key('1')->usage, 30);
    EXPECT_EQ(key_by_virtual_key(96)->usage, 98);  // Num_0
    EXPECT_EQ(key_by_virtual_key(97)->usage, 89);  // Num_1
    EXPECT_STREQ(key_by_virtual_key(108)->name, " Num_  ");
    EXPECT_EQ(key_by_virtual_key(220)->usage, 49);  // backslash
    EXPECT_EQ(key_by_usage(231)->virtual_key, 92);  // R_WIN

    EXPECT_EQ(key_by_virtual_key(0), nullptr) << "the end row is no key";
    EXPECT_EQ(key_by_virtual_key(0xE9), nullptr);
    EXPECT_EQ(key_by_usage(0), nullptr);
    EXPECT_EQ(key_by_usage(0xFFFF), nullptr);
    EXPECT_EQ(key_by_name("A"), nullptr) << "the blanks are part of the name";
    EXPECT_EQ(key_by_name(" Num_ "), nullptr);
    EXPECT_EQ(key_by_name(nullptr), nullptr);
}

}  // namespace
}  // namespace talvoro
