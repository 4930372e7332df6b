// The skin folders as the maker draws them: complete in every language, the window mask's
// shape, the mouse pictures and their lines to the fields, the popups' pictures and the
// pictures the program resizes per language.
#include <gtest/gtest.h>

#include <cstdlib>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "captions.h"
#include "drawn_skins.h"
#include "mouse_picture.h"
#include "render/image.h"
#include "render/image_cache.h"
#include "render/mask_region.h"
#include "skin_shapes.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace talvoro::skins::test {
namespace {

using ui::Color;
using ui::Image;
using ui::Point;
using ui::Rect;

const Color kPanel{255, 0x16, 0x16, 0x1B};
const Color kAccent{255, 0xFF, 0x3C, 0x3C};

bool is_white(Color c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}
bool is_black(Color c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}
bool same_rgb(Color a, Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// The first `count` bytes of the file, fewer when it is shorter.
std::vector<uint8_t> file_head(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

bool same_pixels(const Image& a, const Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!(a.pixel(x, y) == b.pixel(x, y))) {
                return false;
            }
        }
    }
    return true;
}

bool in_any_button(int x, int y) {
    for (const Rect& rect : kMouseButtonRects) {
        if (rect.contains(x, y)) {
            return true;
        }
    }
    return false;
}

// The pixels of the mouse picture within `margin` of a leader line, its start dot included.
class LeaderMask {
  public:
    explicit LeaderMask(int margin)
        : near_(static_cast<size_t>(kMousePictureWidth) * kMousePictureHeight, false) {
        for (const LeaderLine& line : leader_lines()) {
            for (size_t i = 1; i < line.points.size(); ++i) {
                const Point a = line.points[i - 1];
                const Point b = line.points[i];
                for (int y = std::min(a.y, b.y) - margin; y <= std::max(a.y, b.y) + margin; ++y) {
                    for (int x = std::min(a.x, b.x) - margin; x <= std::max(a.x, b.x) + margin;
                         ++x) {
                        if (x >= 0 && y >= 0 && x < kMousePictureWidth && y < kMousePictureHeight) {
                            near_[static_cast<size_t>(y) * kMousePictureWidth + x] = true;
                        }
                    }
                }
            }
        }
    }
    bool near(int x, int y) const {
        return x >= 0 && y >= 0 && x < kMousePictureWidth && y < kMousePictureHeight &&
               near_[static_cast<size_t>(y) * kMousePictureWidth + x];
    }

  private:
    std::vector<bool> near_;
};

class SkinsTest : public ::testing::Test {
  protected:
    static Image load(const std::string& folder, const std::string& name) {
        std::optional<Image> image = load_skin_picture(folder, name);
        EXPECT_TRUE(image.has_value()) << folder << "/" << name;
        return image ? *image : Image{};
    }
    static std::set<std::string> files_in(const std::string& folder) {
        return skin_files(skins_root(), folder);
    }
};

std::string file_contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return {};
    }
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

TEST(SkinMaker, DrawsTheSameFoldersAgainWithoutComplaint) {
    ::talvoro::test::TempFolder root;
    const ::talvoro::test::ProgramResult result =
        ::talvoro::test::run_program(TALVORO_SKIN_MAKER_PATH, {root.path()}, 120);
    ASSERT_EQ(result.exit_status, 0) << result.err;
    // A caption that does not fit its picture is reported here.
    EXPECT_EQ(result.err, "");
    // The same pictures, byte for byte, as the build drew: the maker is deterministic.
    for (const char* folder : kSkinFolders) {
        const std::set<std::string> files = skin_files(root.path(), folder);
        EXPECT_EQ(files, skin_files(skins_root(), folder)) << folder;
        for (const std::string& name : files) {
            EXPECT_TRUE(file_contents(root.path() + "/" + folder + "/" + name) ==
                        file_contents(skin_path(folder, name)))
                << folder << "/" << name << " differs between two runs";
        }
    }
}

TEST(SkinMaker, FailsWithoutAnOutputFolderOrWhenItCannotWrite) {
    EXPECT_EQ(::talvoro::test::run_program(TALVORO_SKIN_MAKER_PATH, {}).exit_status, 2);
    ::talvoro::test::TempFolder root;
    std::ofstream(root.file("blocked")) << "a file where a folder should go";
    const ::talvoro::test::ProgramResult result =
        ::talvoro::test::run_program(TALVORO_SKIN_MAKER_PATH, {root.file("blocked")});
    EXPECT_NE(result.exit_status, 0);
    EXPECT_NE(result.err, "");
}

TEST_F(SkinsTest, EveryFolderIsACompleteSkin) {
    const std::set<std::string> english = files_in(kSkinFolders[0]);
    EXPECT_GT(english.size(), 60u);
    for (const char* folder : kSkinFolders) {
        EXPECT_EQ(files_in(folder), english) << folder;
    }
}

TEST_F(SkinsTest, PicturesTheProgramNamesItselfExistInEveryFolderAndLoad) {
    // Named in the program's code rather than in a layout.
    const char* const kPictures[] = {
        "Background_mask.bmp", "MCBox.bmp",          "MCBox2.bmp",         "MacroRecord1.png",
        "MacroRecord2.png",    "MacroName_hot.png",  "MacroSignTimer.bmp", "MacroSignDown.bmp",
        "MacroSignUp.bmp",     "MacroSignMouse2.bmp"};
    for (const char* folder : kSkinFolders) {
        for (const char* name : kPictures) {
            EXPECT_FALSE(load(folder, name).empty()) << folder << "/" << name;
        }
    }
    EXPECT_EQ(load("TalvoroSkin", "MacroSignTimer.bmp").width(), 14);
}

TEST_F(SkinsTest, BmpFilesAreUncompressed24BitOrTwoColourMasks) {
    for (const char* folder : kSkinFolders) {
        for (const std::string& name : files_in(folder)) {
            if (!name.ends_with(".bmp")) {
                continue;
            }
            const std::vector<uint8_t> bytes = file_head(skin_path(folder, name), 54);
            ASSERT_GE(bytes.size(), 54u) << folder << "/" << name;
            EXPECT_EQ(bytes[0], 'B');
            EXPECT_EQ(bytes[1], 'M');
            const int bits = bytes[28] | bytes[29] << 8;
            EXPECT_TRUE(bits == 24 || bits == 1) << folder << "/" << name;
            EXPECT_EQ(bytes[30], 0) << "compressed: " << folder << "/" << name;
        }
    }
}

TEST_F(SkinsTest, MaskIsWhiteExactlyOutsideTheChamferedWindowInBothSets) {
    for (const int density : {1, 2}) {
        const Image mask =
            load("TalvoroSkin", density == 1 ? "Background_mask.bmp" : "Background_mask@2x.png");
        ASSERT_EQ(mask.width(), kWindowWidth * density);
        ASSERT_EQ(mask.height(), kWindowHeight * density);
        int white = 0;
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                const Color c = mask.pixel(x, y);
                ASSERT_TRUE(is_white(c) || is_black(c)) << x << "," << y;
                ASSERT_EQ(is_white(c),
                          !window_shape_contains_at((x + 0.5) / density, (y + 0.5) / density))
                    << x << "," << y << " at " << density;
                if (is_white(c)) {
                    ++white;
                    // Only the corners are cut away; the controls along the edges stay opaque.
                    const int dx = std::min(x, mask.width() - 1 - x) / density;
                    const int dy = std::min(y, mask.height() - 1 - y) / density;
                    EXPECT_TRUE(dx < 32 && dy < 32) << x << "," << y;
                }
            }
        }
        EXPECT_GT(white, 4 * 20 * density * density) << "the corners are not chamfered";
        const int d = density;
        EXPECT_TRUE(is_white(mask.pixel(0, 0)));
        EXPECT_TRUE(is_white(mask.pixel(kWindowWidth * d - 1, kWindowHeight * d - 1)));
        EXPECT_TRUE(is_black(mask.pixel(kWindowWidth * d / 2, 0)));
        EXPECT_TRUE(is_black(mask.pixel(0, kWindowHeight * d / 2)));
        // The caption band at the top left and the close button at the top right.
        EXPECT_TRUE(is_black(mask.pixel(20 * d, 20 * d)));
        EXPECT_TRUE(is_black(mask.pixel((kWindowWidth - 20) * d, 20 * d)));
    }
}

// Displays past 100 % take the larger set: every picture has its twin at twice the size, with
// no alpha where the smaller one is a BMP (its colour keys must find the same pixels).
TEST_F(SkinsTest, EveryPictureHasATwinDrawnAtTwiceItsSize) {
    int twins = 0;
    for (const std::string& name : files_in("TalvoroSkin")) {
        if (name.find("@2x") != std::string::npos) {
            continue;
        }
        const Image small = load("TalvoroSkin", name);
        const Image large = load("TalvoroSkin", ui::picture_file_at_density(name, 2));
        ASSERT_EQ(large.width(), small.width() * 2) << name;
        ASSERT_EQ(large.height(), small.height() * 2) << name;
        if (name.ends_with(".bmp")) {
            for (int y = 0; y < large.height(); y += 7) {
                for (int x = 0; x < large.width(); x += 7) {
                    ASSERT_EQ(large.pixel(x, y).a, 0xFF) << name << " " << x << "," << y;
                }
            }
        }
        ++twins;
    }
    EXPECT_GT(twins, 60);
}

TEST_F(SkinsTest, BackgroundStripsOutlineTheWindowsShape) {
    const Image top = load("TalvoroSkin", "Background_top.png");
    const Image bottom = load("TalvoroSkin", "Background_bottom.png");
    ASSERT_EQ(top.width(), kWindowWidth);
    ASSERT_EQ(bottom.width(), kWindowWidth);
    ASSERT_EQ(top.height() + bottom.height(), kWindowHeight - (kPageBottom - kPageTop));
    const Color edge{255, 0x2A, 0x2A, 0x31};
    // Along the straight edges and the chamfers alike.
    EXPECT_TRUE(same_rgb(top.pixel(kWindowWidth / 2, 0), edge));
    EXPECT_TRUE(same_rgb(bottom.pixel(kWindowWidth / 2, bottom.height() - 1), edge));
    EXPECT_TRUE(same_rgb(top.pixel(0, kPageTop - 1), edge));
    EXPECT_TRUE(same_rgb(bottom.pixel(kWindowWidth - 1, 0), edge));
    EXPECT_TRUE(same_rgb(top.pixel(6, kWindowChamfer - 6), edge));
    // Away from the edges close to the window colour: the vignette only darkens it faintly.
    const Color middle = top.pixel(kWindowWidth / 2, kPageTop / 2);
    EXPECT_LE(std::abs(middle.r - 0x0E) + std::abs(middle.g - 0x0E) + std::abs(middle.b - 0x11),
              12);
}

TEST_F(SkinsTest, MousePicturesAgreeOutsideTheButtonsAndDifferInsideEach) {
    for (const char* folder : kSkinFolders) {
        const Image normal = load(folder, "MCBox.bmp");
        const Image lit = load(folder, "MCBox2.bmp");
        ASSERT_EQ(normal.width(), lit.width());
        ASSERT_EQ(normal.height(), lit.height());
        for (const Rect& rect : kMouseButtonRects) {
            ASSERT_LE(rect.right, normal.width());
            ASSERT_LE(rect.bottom, normal.height());
        }
        int outside_mismatches = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                if (!in_any_button(x, y) && !(normal.pixel(x, y) == lit.pixel(x, y))) {
                    ++outside_mismatches;
                }
            }
        }
        EXPECT_EQ(outside_mismatches, 0) << folder;
        for (size_t i = 0; i < kMouseButtonRects.size(); ++i) {
            const Rect& rect = kMouseButtonRects[i];
            int differing = 0;
            for (int y = rect.top; y < rect.bottom; ++y) {
                for (int x = rect.left; x < rect.right; ++x) {
                    if (!(normal.pixel(x, y) == lit.pixel(x, y))) {
                        ++differing;
                    }
                }
            }
            // Most of the button lights up, not a stray pixel.
            EXPECT_GT(differing, rect.width() * rect.height() / 3) << folder << " button " << i + 1;
        }
    }
}

TEST_F(SkinsTest, MouseIsSymmetricApartFromItsLines) {
    const Image normal = load("TalvoroSkin", "MCBox.bmp");
    // The shell differs from the page around it.
    EXPECT_FALSE(normal.pixel(503, 420) == normal.pixel(100, 420));
    const LeaderMask lines(3);
    int asymmetric = 0;
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 300; x < 504; ++x) {
            const int mirror = 1006 - x;
            if (in_any_button(x, y) || in_any_button(mirror, y) || lines.near(x, y) ||
                lines.near(mirror, y)) {
                continue;
            }
            if (!(normal.pixel(x, y) == normal.pixel(mirror, y)) && asymmetric++ == 0) {
                ADD_FAILURE() << "first at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(asymmetric, 0);
}

TEST_F(SkinsTest, WholeMouseLiesInsideThePartThePageShows) {
    const Image normal = load("TalvoroSkin", "MCBox.bmp");
    const LeaderMask lines(0);
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            // Outside the shown part nothing is drawn; along its edges only the lines reach
            // the fields beyond.
            const bool shown = kMouseCrop.contains(x, y);
            const bool border = shown && !Rect{kMouseCrop.left + 3, kMouseCrop.top + 3,
                                               kMouseCrop.right - 3, kMouseCrop.bottom - 3}
                                              .contains(x, y);
            if ((!shown || border) && !lines.near(x, y)) {
                ASSERT_EQ(normal.pixel(x, y), kPanel) << x << "," << y;
            }
        }
    }
    // The mouse itself fills most of the height shown: along a column no line runs in.
    const LeaderMask wide(3);
    int top = normal.height();
    int bottom = 0;
    for (int y = 0; y < normal.height(); ++y) {
        if (!(normal.pixel(520, y) == kPanel) && !wide.near(520, y)) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_GT(bottom - top, kMouseCrop.height() / 2);
}

// ------------------------------------------------------------------------------------------
// The lines from the buttons to their fields

TEST(LeaderLines, OneLineLeavesEachButtonFromJustOutsideIt) {
    std::set<size_t> buttons;
    for (const LeaderLine& line : leader_lines()) {
        ASSERT_LT(line.button, kMouseButtonRects.size());
        EXPECT_TRUE(buttons.insert(line.button).second) << "button " << line.button + 1;
        ASSERT_GE(line.points.size(), 2u);
        const Rect& rect = kMouseButtonRects[line.button];
        const Point start = line.points.front();
        EXPECT_FALSE(rect.contains(start));
        const Rect near_rect{rect.left - 4, rect.top - 4, rect.right + 4, rect.bottom + 4};
        EXPECT_TRUE(near_rect.contains(start)) << "button " << line.button + 1;
    }
    EXPECT_EQ(buttons.size(), kMouseButtonRects.size());
}

TEST(LeaderLines, RunStraightInsideTheShownPartToItsEdge) {
    for (const LeaderLine& line : leader_lines()) {
        for (size_t i = 1; i < line.points.size(); ++i) {
            const Point a = line.points[i - 1];
            const Point b = line.points[i];
            EXPECT_TRUE(a.x == b.x || a.y == b.y)
                << "button " << line.button + 1 << " segment " << i;
            EXPECT_TRUE(kMouseCrop.contains(b)) << "button " << line.button + 1;
        }
        const int end = line.points.back().x;
        EXPECT_TRUE(end == kLeftFieldsRight || end == kRightFieldsLeft - 1)
            << "button " << line.button + 1 << " ends at " << end;
    }
}

// Every pixel a line covers, as the picture draws it.
std::vector<Point> line_pixels(const LeaderLine& line) {
    std::vector<Point> pixels;
    for (size_t i = 1; i < line.points.size(); ++i) {
        const Point a = line.points[i - 1];
        const Point b = line.points[i];
        for (int y = std::min(a.y, b.y); y <= std::max(a.y, b.y); ++y) {
            for (int x = std::min(a.x, b.x); x <= std::max(a.x, b.x); ++x) {
                pixels.push_back({x, y});
            }
        }
    }
    return pixels;
}

TEST(LeaderLines, NeitherCrossNorTouchEachOtherNorAnyButton) {
    std::vector<std::set<std::pair<int, int>>> covered;
    for (const LeaderLine& line : leader_lines()) {
        std::set<std::pair<int, int>> pixels;
        for (const Point p : line_pixels(line)) {
            EXPECT_FALSE(in_any_button(p.x, p.y))
                << "button " << line.button + 1 << " at " << p.x << "," << p.y;
            pixels.insert({p.x, p.y});
        }
        covered.push_back(pixels);
    }
    for (size_t a = 0; a < covered.size(); ++a) {
        for (size_t b = a + 1; b < covered.size(); ++b) {
            for (const auto& [x, y] : covered[a]) {
                // Two pixels apart at least, so that they read as separate lines.
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        EXPECT_EQ(covered[b].count({x + dx, y + dy}), 0u)
                            << "lines of buttons " << leader_lines()[a].button + 1 << " and "
                            << leader_lines()[b].button + 1 << " meet at " << x << "," << y;
                    }
                }
            }
        }
    }
}

// ------------------------------------------------------------------------------------------
// Popups and the pictures the program resizes

TEST_F(SkinsTest, QuestionPicturesCarryTheirLanguagesCaptions) {
    const std::array<const char*, 6> kCaptioned{
        "ApplySetting_Dialog.bmp", "MasterReset_Dialog.bmp", "ExitProgram_Dialog.bmp",
        "APDetection_Dialog.bmp",  "MacroOverMax_box.png",   "MacroRepeat1_99_box.png"};
    for (const char* name : kCaptioned) {
        std::vector<Image> pictures;
        for (const char* folder : kSkinFolders) {
            pictures.push_back(load(folder, name));
        }
        for (size_t a = 0; a < pictures.size(); ++a) {
            for (size_t b = a + 1; b < pictures.size(); ++b) {
                EXPECT_FALSE(same_pixels(pictures[a], pictures[b]))
                    << name << ": " << kSkinFolders[a] << " and " << kSkinFolders[b];
            }
        }
    }
    // Within one language the four questions differ from each other too.
    EXPECT_FALSE(same_pixels(load("TalvoroSkin", "ApplySetting_Dialog.bmp"),
                             load("TalvoroSkin", "ExitProgram_Dialog.bmp")));
}

TEST_F(SkinsTest, PopupPicturesHaveTheWindowSizeAndAOnePixelAccentBorder) {
    const struct {
        const char* name;
        int width;
        int height;
    } kPictures[] = {{"MasterReset_Dialog.bmp", 660, 294},
                     {"MacroOverMax_box.png", 305, 206},
                     {"KeysPopup_frame.png", 627, 296},
                     {"MacroPlayOption_frame.png", 658, 294}};
    for (const char* folder : kSkinFolders) {
        for (const auto& picture : kPictures) {
            const Image image = load(folder, picture.name);
            ASSERT_EQ(image.width(), picture.width) << folder << "/" << picture.name;
            ASSERT_EQ(image.height(), picture.height) << folder << "/" << picture.name;
            for (int x = 0; x < image.width(); ++x) {
                ASSERT_EQ(image.pixel(x, 0), kAccent) << picture.name << " top " << x;
                ASSERT_EQ(image.pixel(x, image.height() - 1), kAccent) << picture.name;
            }
            for (int y = 0; y < image.height(); ++y) {
                ASSERT_EQ(image.pixel(0, y), kAccent) << picture.name << " left " << y;
                ASSERT_EQ(image.pixel(image.width() - 1, y), kAccent) << picture.name;
            }
            EXPECT_FALSE(image.pixel(image.width() / 2, image.height() - 2) == kAccent);
        }
    }
}

TEST_F(SkinsTest, ResizedButtonsHaveTheWidthsTheProgramGivesThemInEachLanguage) {
    const auto& all = all_captions();
    for (size_t i = 0; i < all.size(); ++i) {
        const Captions& language = all[i];
        const char* folder = kSkinFolders[i];
        for (const char* name : {"MacroRecord1.png", "MacroRecord2.png"}) {
            const Image record = load(folder, name);
            EXPECT_EQ(record.width(), language.record_width) << folder << "/" << name;
            EXPECT_EQ(record.height(), 24) << folder << "/" << name;
        }
        for (const char* state : {"normal", "hot", "pushed", "disabled"}) {
            const std::string insert = std::string("insert_delay_time_btn_") + state + ".png";
            const std::string edit = std::string("edit_delay_time_btn_") + state + ".png";
            EXPECT_EQ(load(folder, insert).width(), language.insert_delay_width) << insert;
            EXPECT_EQ(load(folder, edit).width(), language.edit_delay_width) << edit;
        }
    }
    EXPECT_EQ(all[0].record_width, 114);
    EXPECT_EQ(all[3].record_width, 143);
    EXPECT_EQ(all[3].insert_delay_width, 222);
    EXPECT_EQ(all[3].edit_delay_width, 234);
}

TEST_F(SkinsTest, RecordButtonKeepsClearOfItsTransparentWhite) {
    // The layout shows it with pure white made transparent: a white caption would vanish.
    for (const char* folder : kSkinFolders) {
        for (const char* name : {"MacroRecord1.png", "MacroRecord2.png"}) {
            const Image record = load(folder, name);
            int visible = 0;
            for (int y = 0; y < record.height(); ++y) {
                for (int x = 0; x < record.width(); ++x) {
                    const Color c = record.pixel(x, y);
                    visible += c.a > 0;
                    EXPECT_FALSE(c.a > 0 && is_white(c))
                        << folder << "/" << name << " " << x << "," << y;
                }
            }
            EXPECT_GT(visible, record.width() * record.height() / 2) << folder << "/" << name;
        }
        EXPECT_FALSE(
            same_pixels(load(folder, "MacroRecord1.png"), load(folder, "MacroRecord2.png")))
            << folder << ": the record button would not blink";
    }
}

// ------------------------------------------------------------------------------------------
// The BMP writer

TEST(BmpWriter, RoundTripsPixelsThroughTheImageLoader) {
    std::optional<Image> image = Image::create(5, 3);  // odd width: rows need padding
    ASSERT_TRUE(image);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            image->set_pixel(
                x, y, Color{255, static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 80), 7});
        }
    }
    const std::vector<uint8_t> bytes = encode_bmp(*image);
    EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
    std::optional<Image> decoded = ui::decode_image(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(same_pixels(*image, *decoded));
}

TEST(BmpWriter, WritesABlackAndWhitePictureWithOneBitAPixel) {
    // 37 wide: rows of five bytes padded to eight; a pixel in each byte's last bit.
    std::optional<Image> image = Image::create(37, 4);
    ASSERT_TRUE(image);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 37; ++x) {
            const bool white = (x + y) % 3 == 0 || x == 7 || x == 36;
            image->set_pixel(x, y, white ? Color{255, 255, 255, 255} : Color{255, 0, 0, 0});
        }
    }
    const std::vector<uint8_t> bytes = encode_bmp(*image);
    EXPECT_EQ(bytes[28], 1);
    EXPECT_EQ(bytes.size(), 54u + 8u + 8u * 4u);
    std::optional<Image> decoded = ui::decode_image(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(same_pixels(*image, *decoded));

    // The program reads the mask as grey: the same window shape comes out.
    ::talvoro::test::TempFolder folder;
    ASSERT_TRUE(write_bmp(*image, folder.file("mask.bmp")));
    const std::optional<ui::MaskRegion> region = ui::load_mask_region(folder.file("mask.bmp"));
    ASSERT_TRUE(region);
    EXPECT_EQ(region->size.width, 37);
    EXPECT_EQ(region->opaque, ui::mask_region(*image));
}

TEST(BmpWriter, RefusesAnEmptyPicture) {
    EXPECT_TRUE(encode_bmp(Image{}).empty());
    ::talvoro::test::TempFolder folder;
    EXPECT_FALSE(write_bmp(Image{}, folder.file("empty.bmp")));
    std::optional<Image> image = Image::create(2, 2);
    ASSERT_TRUE(image);
    EXPECT_FALSE(write_bmp(*image, folder.file("no-such-folder/x.bmp")));
}

}  // namespace
}  // namespace talvoro::skins::test
