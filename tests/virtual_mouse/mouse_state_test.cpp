// Factory images and the state file: the bytes a fresh mouse holds and the
// exact layout of the file that keeps them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "factory_images.h"
#include "mouse_state.h"
#include "state_file.h"
#include "support/temp_folder.h"

namespace talvoro::virtual_mouse {
namespace {

std::vector<uint8_t> read_all(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void write_all(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> folder_entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(FactoryImageTest, HoldsTheFixedFieldsAtTheirImageOffsets) {
    for (size_t slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        const ProfileImage image = factory_image(slot);
        EXPECT_EQ(image[0x00], slot);
        EXPECT_EQ(image[0x01], 1);     // in use
        EXPECT_EQ(image[0x11], 0x00);  // data size 2048, low byte first
        EXPECT_EQ(image[0x12], 0x08);
        EXPECT_EQ(image[0x15], 1);  // 1000 Hz
        EXPECT_EQ(image[0x16], 0);  // no power save
        const std::vector<uint8_t> cpi(image.begin() + 0x32, image.begin() + 0x42);
        EXPECT_EQ(cpi, (std::vector<uint8_t>{0x90, 0x01, 0x90, 0x01, 0x20, 0x03, 0x20, 0x03, 0x40,
                                             0x06, 0x40, 0x06, 0x80, 0x0C, 0x80, 0x0C}));
        EXPECT_EQ(image[0x44], 0);  // angle snapping
        EXPECT_EQ(image[0x45], 5);  // lift-off
        EXPECT_EQ(image[0x46], 0);  // smoothing
    }
}

TEST(FactoryImageTest, ButtonsCarryTheDefaultAssignment) {
    const ProfileImage image = factory_image(0);
    const uint8_t expected[13][2] = {{0x00, 0x01}, {0x00, 0x02}, {0x00, 0x04}, {0x0A, 0x01},
                                     {0x0B, 0x01}, {0x00, 0x10}, {0x00, 0x08}, {0xFF, 0x01},
                                     {0xFF, 0x01}, {0x08, 0x01}, {0xFF, 0x01}, {0x01, 0x01},
                                     {0x01, 0xFF}};
    for (size_t k = 0; k < 13; ++k) {
        SCOPED_TRACE(k);
        const size_t at = 0x50 + 7 * k;
        EXPECT_EQ(image[at], expected[k][0]);
        EXPECT_EQ(image[at + 1], expected[k][1]);
        for (size_t i = 2; i < 7; ++i)
            EXPECT_EQ(image[at + i], 0);  // no macro
    }
    // Nothing after the button table: no macros, empty event area.
    EXPECT_TRUE(std::all_of(image.begin() + 0xAB, image.end(), [](uint8_t b) { return b == 0; }));
}

TEST(StateFileLayoutTest, EncodesImagesSlotLedAndVersionAtFixedOffsets) {
    MouseState state = factory_state(0x1234);
    state.images[2][0x100] = 0x9C;
    state.images[4][2047] = 0x7E;
    state.current_slot = 3;
    state.led_dark = true;
    const std::vector<uint8_t> bytes = encode_state(state);
    ASSERT_EQ(bytes.size(), 10244u);
    EXPECT_EQ(bytes[2 * 2048 + 0x100], 0x9C);
    EXPECT_EQ(bytes[4 * 2048 + 2047], 0x7E);
    EXPECT_EQ(bytes[1 * 2048], 1);  // slot 1's profile index
    EXPECT_EQ(bytes[10240], 3);
    EXPECT_EQ(bytes[10241], 1);
    EXPECT_EQ(bytes[10242], 0x34);
    EXPECT_EQ(bytes[10243], 0x12);

    const auto decoded = decode_state(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, state);
}

TEST(StateFileLayoutTest, OnlyAFileOfExactSizeDecodesAndBadBytesAreTamed) {
    std::vector<uint8_t> bytes = encode_state(factory_state(105));
    EXPECT_FALSE(decode_state(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1)));
    bytes.push_back(0);
    EXPECT_FALSE(decode_state(bytes));
    EXPECT_FALSE(decode_state({}));
    bytes.pop_back();
    bytes[10240] = 9;     // no such slot
    bytes[10241] = 0x80;  // any non-zero flag is dark
    const auto decoded = decode_state(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->current_slot, 0);
    EXPECT_TRUE(decoded->led_dark);
}

TEST(StateFileTest, MissingShortOrLongFilesGiveTheFactoryState) {
    test::TempFolder folder;
    const std::string path = folder.file("mouse.state");
    const MouseState factory = factory_state(123);
    auto loaded = load_state_file(path, 123);
    EXPECT_TRUE(loaded.from_factory);
    EXPECT_EQ(loaded.state, factory);

    for (size_t size : {size_t{0}, size_t{100}, size_t{10243}, size_t{10245}, size_t{50000}}) {
        SCOPED_TRACE(size);
        write_all(path, std::vector<uint8_t>(size, 0x03));
        loaded = load_state_file(path, 123);
        EXPECT_TRUE(loaded.from_factory);
        EXPECT_EQ(loaded.state, factory);
    }
}

TEST(StateFileTest, SaveThenLoadKeepsEveryByte) {
    test::TempFolder folder;
    const std::string path = folder.file("mouse.state");
    MouseState state = factory_state(140);
    state.images[3].fill(0x3C);
    state.current_slot = 4;
    std::string error;
    ASSERT_TRUE(save_state_file(path, state, &error)) << error;
    EXPECT_EQ(read_all(path), encode_state(state));
    const auto loaded = load_state_file(path, 105);
    EXPECT_FALSE(loaded.from_factory);
    EXPECT_EQ(loaded.state, state);
}

TEST(StateFileTest, RewriteReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    test::TempFolder folder;
    const std::string path = folder.file("mouse.state");
    MouseState state = factory_state(105);
    std::string error;
    ASSERT_TRUE(save_state_file(path, state, &error)) << error;
    // A reader holding the old file keeps seeing it whole: the new one is
    // renamed into place, not written over it.
    std::error_code linked;
    std::filesystem::create_hard_link(path, folder.file("reader"), linked);
    ASSERT_FALSE(linked) << linked.message();
    state.current_slot = 2;
    ASSERT_TRUE(save_state_file(path, state, &error)) << error;
    EXPECT_EQ(read_all(folder.file("reader")), encode_state(factory_state(105)));
    EXPECT_EQ(read_all(path), encode_state(state));
    auto entries = folder_entries(folder.path());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"mouse.state", "reader"}));
}

TEST(StateFileTest, SaveIntoAMissingFolderFailsWithAMessage) {
    test::TempFolder folder;
    std::string error;
    EXPECT_FALSE(save_state_file(folder.file("gone/mouse.state"), factory_state(105), &error));
    EXPECT_NE(error.find("gone/mouse.state"), std::string::npos) << error;
}

}  // namespace
}  // namespace talvoro::virtual_mouse
