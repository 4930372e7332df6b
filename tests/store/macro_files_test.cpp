#include "store/macro_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "store/profile_files.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

// Packed int fields are passed to gtest as values (unary +): it binds its
// arguments to references, which a packed field cannot align.

using test::ScopedEnv;
using test::TempFolder;

constexpr size_t kMacroStoreSize = 2053284;
constexpr size_t kRecordSize = 102664;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void put_int(std::string& bytes, size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

class MacroFiles : public ::testing::Test {
  protected:
    MacroFiles() {
        EXPECT_TRUE(ensure_program_folders());
        MacroStore& macros = *macros_;
        macros.macro_count = 2;
        std::strcpy(macros.macros[0].name, "Macro_1");
        std::strcpy(macros.macros[1].name, "Combo");
        macros.macros[1].number = 2;
        macros.macros[1].step_count = 2;
        std::strcpy(macros.macros[1].steps[1].kind, "t");
        std::strcpy(macros.macros[1].steps[1].text, "0.050");
        std::strcpy(macros.macros[19].name, "carried");  // records 15..19 travel too
    }
    bool same(const MacroStore& a, const MacroStore& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }

    TempFolder folder_;
    ScopedEnv data_dir_{"TALVORO_DATA_DIR", folder_.path()};
    std::unique_ptr<MacroStore> macros_ = std::make_unique<MacroStore>();
};

TEST_F(MacroFiles, ExportIsTheRawMacroStoreAndImportGivesItBack) {
    ASSERT_EQ(export_macro_file(*macros_, folder_.file("macro_files/all.qxm")), 1);
    const std::string file = contents(folder_.file("macro_files/all.qxm"));
    ASSERT_EQ(file.size(), kMacroStoreSize);
    EXPECT_EQ(file[0], 2);  // macro_count
    EXPECT_STREQ(file.data() + 4 + kRecordSize + 4, "Combo");
    EXPECT_EQ(file[4 + kRecordSize + 260], 2);                         // step_count
    EXPECT_STREQ(file.data() + 4 + kRecordSize + 264 + 400, "t");      // step 1 kind
    EXPECT_STREQ(file.data() + 4 + kRecordSize + 264 + 500, "0.050");  // step 1 text
    EXPECT_STREQ(file.data() + 4 + 19 * kRecordSize + 4, "carried");

    auto imported = std::make_unique<MacroStore>();
    EXPECT_EQ(import_macro_file(*imported, folder_.file("macro_files/all.qxm")), kStoreRead);
    EXPECT_TRUE(same(*imported, *macros_));
    // An import from elsewhere also becomes the store file.
    EXPECT_EQ(contents(macro_store_path()), file);
}

TEST_F(MacroFiles, ImportFromTheStoreFileItselfDoesNotRewriteIt) {
    ASSERT_EQ(write_macro_store(*macros_, {}), 1);
    // Dated an hour back: any rewrite would date it now.
    const std::filesystem::path store_file = macro_store_path();
    const auto before = std::filesystem::last_write_time(store_file) - std::chrono::hours(1);
    std::filesystem::last_write_time(store_file, before);
    auto imported = std::make_unique<MacroStore>();
    EXPECT_EQ(import_macro_file(*imported, macro_store_path()), kStoreRead);
    EXPECT_EQ(std::filesystem::last_write_time(store_file), before);
    EXPECT_TRUE(same(*imported, *macros_));
}

TEST_F(MacroFiles, MissingEmptyAndShortFiles) {
    const auto before = std::make_unique<MacroStore>(*macros_);
    EXPECT_EQ(read_macro_store(*macros_, {}), kStoreCannotOpen);  // no store file yet
    put(folder_.file("empty.qxm"), "");
    EXPECT_EQ(import_macro_file(*macros_, folder_.file("empty.qxm")), kStoreEmpty);
    EXPECT_TRUE(same(*macros_, *before));
    EXPECT_FALSE(std::filesystem::exists(macro_store_path()));  // not written on failure

    // A file that ends inside record 0: what it holds, the rest zero.
    std::string bytes(4 + 10, '\0');
    put_int(bytes, 0, 1);
    std::memcpy(bytes.data() + 8, "Short", 5);
    put(folder_.file("short.qxm"), bytes);
    EXPECT_EQ(read_macro_store(*macros_, folder_.file("short.qxm")), kStoreRead);
    EXPECT_EQ(+macros_->macro_count, 1);
    EXPECT_STREQ(macros_->macros[0].name, "Short");
    EXPECT_EQ(+macros_->macros[1].name[0], 0);
    EXPECT_EQ(+macros_->macros[19].name[0], 0);
}

TEST_F(MacroFiles, CountsOutsideTheTablesAreClamped) {
    for (const auto& [stored, expected] : {std::pair{99, 15}, {-5, 0}, {15, 15}, {0, 0}}) {
        std::string bytes(kMacroStoreSize, '\0');
        put_int(bytes, 0, stored);
        put_int(bytes, 4 + 260, 1000);                  // record 0 step_count
        put_int(bytes, 4 + 3 * kRecordSize + 260, -3);  // record 3 step_count
        std::memset(bytes.data() + 4 + 4, 'x', 256);    // record 0 name without NUL
        put(folder_.file("odd.qxm"), bytes);
        ASSERT_EQ(read_macro_store(*macros_, folder_.file("odd.qxm")), kStoreRead);
        EXPECT_EQ(+macros_->macro_count, expected) << stored;
        EXPECT_EQ(+macros_->macros[0].step_count, 256);
        EXPECT_EQ(+macros_->macros[3].step_count, 0);
        EXPECT_EQ(std::strlen(macros_->macros[0].name), 255u);
    }
}

TEST_F(MacroFiles, UnwritablePathGivesZero) {
    EXPECT_EQ(write_macro_store(*macros_, folder_.file("missing/x.qxm")), 0);
    EXPECT_EQ(export_macro_file(*macros_, ""), 0);
}

}  // namespace
}  // namespace talvoro
