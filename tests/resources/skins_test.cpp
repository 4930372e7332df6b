// The skin folders as the program loads them: every picture present and decodable, the
// window mask's shape, the two mouse pictures' agreement, and painted captions.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "captions.h"
#include "render/image.h"
#include "skin_shapes.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace talvoro::skins {
namespace {

using ui::Image;

const std::array<const char*, 16> kPictures{"Background_mask.bmp",
                                            "MCBox.bmp",
                                            "MCBox2.bmp",
                                            "ApplySetting_Dialog.bmp",
                                            "MasterReset_Dialog.bmp",
                                            "ExitProgram_Dialog.bmp",
                                            "APDetection_Dialog.bmp",
                                            "MacroOverMax_box.png",
                                            "MacroRepeat1_99_box.png",
                                            "MacroRecord1.png",
                                            "MacroRecord2.png",
                                            "MacroName_hot.png",
                                            "MacroSignTimer.bmp",
                                            "MacroSignDown.bmp",
                                            "MacroSignUp.bmp",
                                            "MacroSignMouse2.bmp"};
const std::array<const char*, 4> kFolders{"TalvoroSkin", "TalvoroSkin1", "TalvoroSkin2",
                                          "TalvoroSkin3"};

bool is_white(ui::Color c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}
bool is_black(ui::Color c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool same_pixels(const Image& a, const Image& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!(a.pixel(x, y) == b.pixel(x, y)))
                return false;
        }
    }
    return true;
}

// The maker runs once for the whole suite; each test reads what it drew.
class SkinsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new test::TempFolder();
        result_ = new test::ProgramResult(
            test::run_program(TALVORO_SKIN_MAKER_PATH, {folder_->path()}, 120));
    }
    static void TearDownTestSuite() {
        delete result_;
        delete folder_;
        result_ = nullptr;
        folder_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(result_->exit_status, 0) << result_->err; }

    static std::string path(const std::string& skin, const std::string& name) {
        return folder_->path() + "/" + skin + "/" + name;
    }
    static Image load(const std::string& skin, const std::string& name) {
        std::optional<Image> image = ui::load_image_file(path(skin, name));
        EXPECT_TRUE(image.has_value()) << skin << "/" << name;
        return image ? *image : Image{};
    }

    static test::TempFolder* folder_;
    static test::ProgramResult* result_;
};

test::TempFolder* SkinsTest::folder_ = nullptr;
test::ProgramResult* SkinsTest::result_ = nullptr;

TEST_F(SkinsTest, EveryPictureExistsInEveryFolderAndLoads) {
    for (const char* skin : kFolders) {
        for (const char* name : kPictures) {
            const Image image = load(skin, name);
            EXPECT_FALSE(image.empty()) << skin << "/" << name;
        }
    }
}

TEST_F(SkinsTest, BmpFilesAreUncompressed24Bit) {
    for (const char* skin : kFolders) {
        for (const char* name : kPictures) {
            const std::string file = name;
            if (file.substr(file.size() - 4) != ".bmp")
                continue;
            const std::vector<uint8_t> bytes = file_bytes(path(skin, name));
            ASSERT_GE(bytes.size(), 54u) << skin << "/" << name;
            EXPECT_EQ(bytes[0], 'B');
            EXPECT_EQ(bytes[1], 'M');
            EXPECT_EQ(bytes[28] | bytes[29] << 8, 24) << skin << "/" << name;
            EXPECT_EQ(bytes[30], 0) << "compressed: " << skin << "/" << name;
        }
    }
}

TEST_F(SkinsTest, MaskIsWhiteExactlyOutsideTheChamferedWindow) {
    const Image mask = load("TalvoroSkin", "Background_mask.bmp");
    ASSERT_EQ(mask.width(), kWindowWidth);
    ASSERT_EQ(mask.height(), kWindowHeight);
    int white = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const ui::Color c = mask.pixel(x, y);
            ASSERT_TRUE(is_white(c) || is_black(c)) << x << "," << y;
            ASSERT_EQ(is_white(c), !window_shape_contains(x, y)) << x << "," << y;
            if (is_white(c)) {
                ++white;
                // Only the corners are cut away; the controls along the edges stay opaque.
                const int dx = std::min(x, mask.width() - 1 - x);
                const int dy = std::min(y, mask.height() - 1 - y);
                EXPECT_TRUE(dx < 32 && dy < 32) << x << "," << y;
            }
        }
    }
    EXPECT_GT(white, 4 * 20) << "the corners are not chamfered";
    EXPECT_TRUE(is_white(mask.pixel(0, 0)));
    EXPECT_TRUE(is_white(mask.pixel(kWindowWidth - 1, kWindowHeight - 1)));
    EXPECT_TRUE(is_black(mask.pixel(kWindowWidth / 2, 0)));
    EXPECT_TRUE(is_black(mask.pixel(0, kWindowHeight / 2)));
    // The caption band at the top left and the close button at the top right.
    EXPECT_TRUE(is_black(mask.pixel(20, 20)));
    EXPECT_TRUE(is_black(mask.pixel(kWindowWidth - 20, 20)));
}

TEST_F(SkinsTest, MousePicturesAgreeOutsideTheButtonsAndDifferInsideEach) {
    for (const char* skin : kFolders) {
        const Image normal = load(skin, "MCBox.bmp");
        const Image lit = load(skin, "MCBox2.bmp");
        ASSERT_EQ(normal.width(), lit.width());
        ASSERT_EQ(normal.height(), lit.height());
        for (const ui::Rect& rect : kMouseButtonRects) {
            ASSERT_LE(rect.right, normal.width());
            ASSERT_LE(rect.bottom, normal.height());
        }
        int outside_mismatches = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                bool in_button = false;
                for (const ui::Rect& rect : kMouseButtonRects)
                    in_button |= rect.contains(x, y);
                if (!in_button && !(normal.pixel(x, y) == lit.pixel(x, y)))
                    ++outside_mismatches;
            }
        }
        EXPECT_EQ(outside_mismatches, 0) << skin;
        for (size_t i = 0; i < kMouseButtonRects.size(); ++i) {
            const ui::Rect& rect = kMouseButtonRects[i];
            int differing = 0;
            for (int y = rect.top; y < rect.bottom; ++y) {
                for (int x = rect.left; x < rect.right; ++x) {
                    if (!(normal.pixel(x, y) == lit.pixel(x, y)))
                        ++differing;
                }
            }
            // Most of the button lights up, not a stray pixel.
            EXPECT_GT(differing, rect.width() * rect.height() / 3) << skin << " button " << i + 1;
        }
    }
}

TEST_F(SkinsTest, MouseIsDrawnOnThePicture) {
    const Image normal = load("TalvoroSkin", "MCBox.bmp");
    // The shell differs from the page around it, and the picture mirrors about column 503.
    EXPECT_FALSE(normal.pixel(503, 420) == normal.pixel(100, 420));
    int asymmetric = 0;
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 340; x < 504; ++x) {
            bool in_button = false;
            for (const ui::Rect& rect : kMouseButtonRects) {
                in_button |= rect.contains(x, y) || rect.contains(1006 - x, y);
            }
            if (!in_button && !(normal.pixel(x, y) == normal.pixel(1006 - x, y))) {
                if (asymmetric++ == 0)
                    ADD_FAILURE() << "first at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(asymmetric, 0);
}

TEST_F(SkinsTest, ConfirmationPicturesCarryTheirLanguagesCaptions) {
    const std::array<const char*, 6> kCaptioned{
        "ApplySetting_Dialog.bmp", "MasterReset_Dialog.bmp", "ExitProgram_Dialog.bmp",
        "APDetection_Dialog.bmp",  "MacroOverMax_box.png",   "MacroRepeat1_99_box.png"};
    for (const char* name : kCaptioned) {
        std::vector<Image> pictures;
        for (const char* skin : kFolders)
            pictures.push_back(load(skin, name));
        for (size_t a = 0; a < pictures.size(); ++a) {
            for (size_t b = a + 1; b < pictures.size(); ++b) {
                EXPECT_FALSE(same_pixels(pictures[a], pictures[b]))
                    << name << ": " << kFolders[a] << " and " << kFolders[b];
            }
        }
    }
    // Within one language the four questions differ from each other too.
    const Image apply = load("TalvoroSkin", "ApplySetting_Dialog.bmp");
    const Image exit = load("TalvoroSkin", "ExitProgram_Dialog.bmp");
    EXPECT_FALSE(same_pixels(apply, exit));
}

TEST_F(SkinsTest, ConfirmationPicturesHaveAnAccentBorderAndTheWindowSize) {
    for (const char* skin : kFolders) {
        const Image dialog = load(skin, "MasterReset_Dialog.bmp");
        ASSERT_EQ(dialog.width(), 660);
        ASSERT_EQ(dialog.height(), 294);
        const ui::Color accent{255, 0xFF, 0x3C, 0x3C};
        for (int x = 0; x < dialog.width(); ++x) {
            ASSERT_EQ(dialog.pixel(x, 0), accent) << skin << " top " << x;
            ASSERT_EQ(dialog.pixel(x, dialog.height() - 1), accent) << skin << " bottom " << x;
        }
        for (int y = 0; y < dialog.height(); ++y) {
            ASSERT_EQ(dialog.pixel(0, y), accent) << skin << " left " << y;
            ASSERT_EQ(dialog.pixel(dialog.width() - 1, y), accent) << skin << " right " << y;
        }
        // The border is one pixel: the next ring in is not the accent.
        EXPECT_FALSE(dialog.pixel(dialog.width() / 2, dialog.height() - 2) == accent);
    }
}

TEST_F(SkinsTest, RecordButtonIsWiderInGermanAndBlinks) {
    const Image english = load("TalvoroSkin", "MacroRecord1.png");
    const Image german = load("TalvoroSkin3", "MacroRecord1.png");
    EXPECT_EQ(english.width(), 114);
    EXPECT_EQ(german.width(), 143);
    EXPECT_FALSE(same_pixels(english, load("TalvoroSkin", "MacroRecord2.png")));
}

TEST(BmpWriter, RoundTripsPixelsThroughTheImageLoader) {
    std::optional<Image> image = Image::create(5, 3);  // odd width: rows need padding
    ASSERT_TRUE(image);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            image->set_pixel(
                x, y,
                ui::Color{255, static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 80), 7});
        }
    }
    const std::vector<uint8_t> bytes = encode_bmp(*image);
    EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
    std::optional<Image> decoded = ui::decode_image(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(same_pixels(*image, *decoded));
}

TEST(BmpWriter, RefusesAnEmptyPicture) {
    EXPECT_TRUE(encode_bmp(Image{}).empty());
    test::TempFolder folder;
    EXPECT_FALSE(write_bmp(Image{}, folder.file("empty.bmp")));
    std::optional<Image> image = Image::create(2, 2);
    ASSERT_TRUE(image);
    EXPECT_FALSE(write_bmp(*image, folder.file("no-such-folder/x.bmp")));
}

TEST(Captions, GermanIsTheWidestAndEveryCaptionIsFilled) {
    const auto& all = all_captions();
    for (const Captions& c : all) {
        EXPECT_FALSE(c.apply_question.empty()) << c.folder;
        EXPECT_FALSE(c.reset_question.empty()) << c.folder;
        EXPECT_FALSE(c.exit_question.empty()) << c.folder;
        EXPECT_FALSE(c.device_question.empty()) << c.folder;
        EXPECT_FALSE(c.record.empty()) << c.folder;
        EXPECT_LE(c.record_width, all[3].record_width) << c.folder;
    }
    EXPECT_EQ(all[0].folder, "TalvoroSkin");
    EXPECT_EQ(all[3].folder, "TalvoroSkin3");
}

}  // namespace
}  // namespace talvoro::skins
