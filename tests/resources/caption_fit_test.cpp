// Painted captions: the log that measures each against its box, and every caption of every
// language fitting the picture it is painted into.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "caption_log.h"
#include "captions.h"
#include "picture_set.h"
#include "skin_pictures.h"

namespace talvoro::skins::test {
namespace {

const ui::FontStyle kFont{"Verdana", 14};
const ui::Color kWhite{255, 255, 255, 255};

TEST(CaptionLog, ReportsACaptionWiderThanItsBoxAndStillDrawsIt) {
    ui::Canvas canvas(60, 20);
    CaptionLog log;
    log.set_picture("narrow.png");
    log.draw(canvas, canvas.bounds(), "A caption far too long", kFont, kWhite,
             ui::kTextLeft | ui::kTextSingleLine);
    ASSERT_EQ(log.overflows().size(), 1u);
    const CaptionOverflow& overflow = log.overflows().front();
    EXPECT_EQ(overflow.picture, "narrow.png");
    EXPECT_EQ(overflow.text, "A caption far too long");
    EXPECT_GT(overflow.needed.width, 60);
    EXPECT_EQ(overflow.room.width, 60);
    bool painted = false;
    for (int x = 0; x < canvas.width() && !painted; ++x) {
        for (int y = 0; y < canvas.height() && !painted; ++y) {
            painted = canvas.pixel(x, y).a > 0;
        }
    }
    EXPECT_TRUE(painted);
}

TEST(CaptionLog, AcceptsACaptionThatFits) {
    ui::Canvas canvas(200, 20);
    CaptionLog log;
    log.draw(canvas, canvas.bounds(), "Record", kFont, kWhite,
             ui::kTextCenter | ui::kTextVCenter | ui::kTextSingleLine);
    EXPECT_TRUE(log.overflows().empty());
}

TEST(CaptionLog, WrappedTextMustFitTheBoxHeight) {
    ui::Canvas canvas(120, 200);
    CaptionLog log;
    const std::string text =
        "Reset every profile to the factory settings? Your own settings "
        "will be lost.";
    log.draw(canvas, ui::Rect{0, 0, 120, 200}, text, kFont, kWhite, ui::kTextWordBreak);
    EXPECT_TRUE(log.overflows().empty()) << "wraps into the tall box";
    log.draw(canvas, ui::Rect{0, 0, 120, 40}, text, kFont, kWhite, ui::kTextWordBreak);
    ASSERT_EQ(log.overflows().size(), 1u) << "two lines cannot hold it";
    EXPECT_GT(log.overflows().front().needed.height, 40);
}

TEST(CaptionLog, TwoLinesWithoutWrappingAreMeasuredByTheirWidestLine) {
    ui::Canvas canvas(100, 60);
    CaptionLog log;
    log.draw(canvas, canvas.bounds(), "Short\nA much longer second line", kFont, kWhite,
             ui::kTextLeft);
    EXPECT_EQ(log.overflows().size(), 1u);
}

// The pictures of one language with the log of their captions, drawn once per test program.
struct LanguagePictures {
    CaptionLog log;
    PictureSet pictures{log};
};

const LanguagePictures& drawn(size_t language) {
    static std::map<size_t, std::unique_ptr<LanguagePictures>> cache;
    auto& entry = cache[language];
    if (!entry) {
        entry = std::make_unique<LanguagePictures>();
        add_language_pictures(all_captions()[language], entry->pictures);
    }
    return *entry;
}

class EveryLanguage : public ::testing::TestWithParam<size_t> {};

TEST_P(EveryLanguage, EveryPaintedCaptionFitsItsBox) {
    const Captions& captions = all_captions()[GetParam()];
    const LanguagePictures& language = drawn(GetParam());
    EXPECT_GT(language.pictures.pictures().size(), 40u);
    for (const CaptionOverflow& overflow : language.log.overflows()) {
        ADD_FAILURE() << captions.folder << "/" << overflow.picture << ": \"" << overflow.text
                      << "\" needs " << overflow.needed.width << "x" << overflow.needed.height
                      << ", has " << overflow.room.width << "x" << overflow.room.height;
    }
}

TEST_P(EveryLanguage, DrawsThePicturesOfEnglishAtTheSameSizesButTheResizedButtons) {
    // The layouts cut every picture by fixed source rectangles, whatever the language; only the
    // buttons the program widens for German have the language's own width.
    auto sizes = [](size_t language) {
        std::map<std::string, ui::Size> sizes;
        for (const SkinPicture& picture : drawn(language).pictures.pictures()) {
            sizes[picture.name] = {picture.canvas.width(), picture.canvas.height()};
        }
        return sizes;
    };
    const Captions& captions = all_captions()[GetParam()];
    const auto english = sizes(0);
    const auto language = sizes(GetParam());
    ASSERT_EQ(language.size(), english.size());
    for (const auto& [name, size] : language) {
        ASSERT_TRUE(english.count(name)) << name;
        int width = english.at(name).width;
        if (name.starts_with("MacroRecord")) {
            width = captions.record_width;
        } else if (name.starts_with("insert_delay_time_btn")) {
            width = captions.insert_delay_width;
        } else if (name.starts_with("edit_delay_time_btn")) {
            width = captions.edit_delay_width;
        }
        EXPECT_EQ(size, (ui::Size{width, english.at(name).height}))
            << captions.folder << "/" << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, EveryLanguage, ::testing::Range<size_t>(0, 4),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return all_captions()[info.param].folder;
                         });

TEST(Captions, GermanHasTheWidestResizedButtonsAndNoCaptionIsEmpty) {
    const auto& all = all_captions();
    for (const Captions& c : all) {
        for (const std::string* text :
             {&c.product, &c.led, &c.reset_all, &c.quit, &c.profile, &c.in_use, &c.dpi_level,
              &c.record, &c.stop, &c.ok, &c.cancel, &c.apply_question, &c.reset_question,
              &c.exit_question, &c.device_question, &c.macro_limit_message, &c.repeat_range_message,
              &c.play_option_title, &c.play_mode}) {
            EXPECT_FALSE(text->empty()) << c.folder;
        }
        for (const std::string& name : c.button_names) {
            EXPECT_FALSE(name.empty()) << c.folder;
        }
        EXPECT_LE(c.record_width, all[3].record_width) << c.folder;
        EXPECT_LE(c.insert_delay_width, all[3].insert_delay_width) << c.folder;
        EXPECT_LE(c.edit_delay_width, all[3].edit_delay_width) << c.folder;
    }
    EXPECT_EQ(all[0].folder, "TalvoroSkin");
    EXPECT_EQ(all[3].folder, "TalvoroSkin3");
    EXPECT_EQ(all[0].tabs[0], "Main Control");
    EXPECT_EQ(all[0].tabs[3], "Support");
}

}  // namespace
}  // namespace talvoro::skins::test
