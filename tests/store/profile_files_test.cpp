#include "store/profile_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "store/button_function.h"
#include "store/store_defaults.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

// Packed int fields are passed to gtest as values (unary +): it binds its
// arguments to references, which a packed field cannot align.

using test::ScopedEnv;
using test::TempFolder;
namespace fs = std::filesystem;

constexpr size_t kBlockSize = 1030749;
constexpr size_t kStoreSize = 7207546;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int32_t int_at(const std::string& bytes, size_t offset) {
    int32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

class ProfileFiles : public ::testing::Test {
  protected:
    ProfileFiles() {
        reset_all_profiles(*store_, 140);
        store_->macro_store.macro_count = 2;
    }
    // A copy of the store, to compare with after an operation.
    std::unique_ptr<ProfileStore> snapshot() const {
        return std::make_unique<ProfileStore>(*store_);
    }
    bool unchanged_since(const ProfileStore& before) const {
        return std::memcmp(&before, store_.get(), sizeof before) == 0;
    }

    TempFolder folder_;
    ScopedEnv data_dir_{"TALVORO_DATA_DIR", folder_.path()};
    std::unique_ptr<ProfileStore> store_ = std::make_unique<ProfileStore>();
};

TEST_F(ProfileFiles, ProfileFileIsTheRawBlockAndCarriesItsOwnName) {
    store_->profiles[2].button_function[4] = 16;
    store_->profiles[2].laser_cpi[7] = 5000;
    store_->profiles[2].smoothing = 1;
    ASSERT_TRUE(write_profile_file(*store_, folder_.file("my.qxp"), 2));
    const std::string file = contents(folder_.file("my.qxp"));
    ASSERT_EQ(file.size(), kBlockSize);
    EXPECT_EQ(file[0], 1);  // in_use
    EXPECT_STREQ(file.data() + 1, "my.qxp");
    EXPECT_EQ(int_at(file, 257 + 4 * 4), 16);
    EXPECT_EQ(int_at(file, 408 + 4 * 7), 5000);
    EXPECT_EQ(file[485], 1);
    EXPECT_STREQ(store_->profiles[2].file_name, "my.qxp");
}

TEST_F(ProfileFiles, FailedProfileWriteLeavesTheBlockAsItWas) {
    std::strcpy(store_->profiles[0].file_name, "old.qxp");
    EXPECT_FALSE(write_profile_file(*store_, folder_.file("missing/new.qxp"), 0));
    EXPECT_STREQ(store_->profiles[0].file_name, "old.qxp");
    EXPECT_FALSE(write_profile_file(*store_, folder_.file("x.qxp"), 5));
    EXPECT_FALSE(write_profile_file(*store_, folder_.file("x.qxp"), -1));
}

TEST_F(ProfileFiles, ReadingAProfileFileReplacesOnlyThatBlock) {
    const auto before = snapshot();
    EXPECT_EQ(read_profile_file(*store_, folder_.file("missing.qxp"), 1), kStoreCannotOpen);
    put(folder_.file("empty.qxp"), "");
    EXPECT_EQ(read_profile_file(*store_, folder_.file("empty.qxp"), 1), kStoreEmpty);
    EXPECT_EQ(read_profile_file(*store_, folder_.file("empty.qxp"), 7), kStoreCannotOpen);
    EXPECT_TRUE(unchanged_since(*before));

    // A file of the block's size: the block becomes its bytes, and a name without its NUL is
    // cut inside its field.
    std::string file(kBlockSize, '\0');
    std::memset(file.data() + 1, 'n', 256);
    file[257 + 4 * 6] = kLeftClick;  // button 7
    file[345] = 125;
    put(folder_.file("whole.qxp"), file);
    EXPECT_EQ(read_profile_file(*store_, folder_.file("whole.qxp"), 3), kStoreRead);
    EXPECT_EQ(std::strlen(store_->profiles[3].file_name), 255u);
    EXPECT_EQ(+store_->profiles[3].report_rate_hz, 125);
    EXPECT_EQ(+store_->profiles[3].button_function[0], 0);
    EXPECT_EQ(+store_->profiles[3].button_function[6], kLeftClick);
    EXPECT_EQ(std::memcmp(&store_->profiles[0], &before->profiles[0], 3 * kBlockSize), 0);
    EXPECT_EQ(std::memcmp(&store_->profiles[4], &before->profiles[4], kBlockSize), 0);
    EXPECT_EQ(std::memcmp(&store_->macro_store, &before->macro_store, sizeof(MacroStore)), 0);
}

// Files that would leave the profile without a usable button are refused and change nothing:
// another size (they would zero the buttons), or no button on Left Click.
TEST_F(ProfileFiles, AFileThatIsNoUsableProfileIsRefused) {
    std::string right_size(kBlockSize, '\0');
    for (int b = 0; b < kButtonCount; ++b)
        right_size[257 + 4 * b] = kRightClick;
    const struct {
        std::string bytes;
        int result;
    } cases[] = {
        {std::string(1, '\x01'), kStoreNotAProfile},
        {std::string(100, '\x01'), kStoreNotAProfile},
        {std::string(kBlockSize - 1, '\x01'), kStoreNotAProfile},
        {std::string(kBlockSize + 1, '\x01'), kStoreNotAProfile},
        {right_size, kStoreNoLeftButton},
    };
    const auto before = snapshot();
    for (const auto& c : cases) {
        put(folder_.file("bad.qxp"), c.bytes);
        EXPECT_EQ(read_profile_file(*store_, folder_.file("bad.qxp"), 1), c.result)
            << c.bytes.size();
        EXPECT_TRUE(unchanged_since(*before)) << c.bytes.size();
    }
}

TEST_F(ProfileFiles, AllProfileRoundTripAtTheDefaultPath) {
    ASSERT_TRUE(ensure_program_folders());
    EXPECT_TRUE(fs::is_directory(folder_.file("profile")));
    EXPECT_TRUE(fs::is_directory(folder_.file("macro_files")));

    store_->current_profile = 4;
    store_->profiles[4].lift_off_level = 9;
    store_->led_on = 0;
    ASSERT_TRUE(write_all_profiles(*store_));
    const std::string file = contents(folder_.file("profile/AllProfile"));
    ASSERT_EQ(file.size(), kStoreSize);
    EXPECT_EQ(int_at(file, 0), 4);
    EXPECT_EQ(int_at(file, 4 + 4 * kBlockSize + 365), 9);
    EXPECT_EQ(int_at(file, 5153749), 2);  // macro_count
    EXPECT_EQ(file[7207033], 0);
    EXPECT_STREQ(file.data() + 7207290, "V1.40");

    const auto written = snapshot();
    reset_all_profiles(*store_, 0);
    ASSERT_EQ(read_all_profiles(*store_), kStoreRead);
    EXPECT_TRUE(unchanged_since(*written));
}

TEST_F(ProfileFiles, HostileAllProfileIsBroughtIntoRange) {
    std::string file(kStoreSize, '\xFF');  // every count -1, no text terminated
    put(folder_.file("AllProfile"), file);
    ASSERT_EQ(read_all_profiles(*store_, folder_.file("AllProfile")), kStoreRead);
    EXPECT_EQ(+store_->macro_store.macro_count, 0);
    EXPECT_EQ(+store_->macro_store.macros[19].step_count, 0);
    EXPECT_EQ(std::strlen(store_->profiles[4].file_name), 255u);
    EXPECT_EQ(std::strlen(store_->fw_version), 255u);
    EXPECT_EQ(std::strlen(store_->macro_store.macros[3].steps[255].action), 99u);

    // A short AllProfile: the rest of the store is zero.
    put(folder_.file("AllProfile"), std::string(4, '\x02'));
    ASSERT_EQ(read_all_profiles(*store_, folder_.file("AllProfile")), kStoreRead);
    EXPECT_EQ(+store_->current_profile, 0x02020202);
    EXPECT_EQ(store_->profiles[0].in_use, 0);
}

TEST_F(ProfileFiles, SaveAndLoadActionsShowTheNameAndReportErrors) {
    test::ScriptedDialogs dialogs;
    dialogs.answers = {folder_.file("Game.QXP"),      std::nullopt,
                       folder_.file("missing/x.qxp"), folder_.file("Game.QXP"),
                       folder_.file("nothing.qxp"),   folder_.file("noext")};
    store_->profiles[1].double_click_level = 9;

    ProfileActionOutcome outcome = save_profile_action(*store_, 1, dialogs);
    EXPECT_EQ(outcome.display_name, "Game");
    EXPECT_STREQ(store_->profiles[1].file_name, "Game.QXP");
    EXPECT_TRUE(dialogs.notices.empty());

    outcome = save_profile_action(*store_, 1, dialogs);  // cancelled
    EXPECT_FALSE(outcome.display_name);
    outcome = save_profile_action(*store_, 1, dialogs);
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"Save the profile error ."});
    EXPECT_FALSE(outcome.display_name);

    outcome = load_profile_action(*store_, 3, dialogs);
    EXPECT_EQ(outcome.display_name, "Game");
    EXPECT_TRUE(outcome.refresh_pages);
    EXPECT_EQ(+store_->profiles[3].double_click_level, 9);

    // A failed load shows no name: the labels keep naming the profile the block holds.
    const auto before = snapshot();
    outcome = load_profile_action(*store_, 0, dialogs);
    EXPECT_FALSE(outcome.refresh_pages);
    EXPECT_FALSE(outcome.display_name);
    EXPECT_EQ(dialogs.notices.back(), "Load the profile error .");
    EXPECT_TRUE(unchanged_since(*before));
    // Without an extension the whole path is shown.
    ASSERT_TRUE(write_profile_file(*store_, folder_.file("noext"), 2));
    outcome = load_profile_action(*store_, 0, dialogs);
    EXPECT_EQ(outcome.display_name, folder_.file("noext"));
}

TEST_F(ProfileFiles, CancelGoesBackToTheLastApplyAndChangesNothingBeforeOne) {
    const auto before = snapshot();
    store_->profiles[0].pointer_speed_level = 1;
    const auto edited = snapshot();
    EXPECT_FALSE(cancel_action(*store_).macros_replaced);  // no AllProfile yet
    EXPECT_TRUE(unchanged_since(*edited));

    ASSERT_TRUE(ensure_program_folders());
    ASSERT_TRUE(write_all_profiles(*before));
    const ProfileActionOutcome outcome = cancel_action(*store_);
    EXPECT_TRUE(outcome.refresh_pages);
    EXPECT_TRUE(outcome.macros_replaced);
    EXPECT_TRUE(unchanged_since(*before));
}

}  // namespace
}  // namespace talvoro
