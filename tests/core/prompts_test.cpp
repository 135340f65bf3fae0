#include <gtest/gtest.h>

#include <string>

#include "core/default_image.h"
#include "core/option_fields.h"
#include "core/prompts.h"

namespace zrv {
namespace {

constexpr int kNoPages = 1;   // 0x114, 21 characters
constexpr int kBeep = 3;      // 0x218, a special prompt
std::string Stored(const ConfigImage& image, std::size_t a) {
    const auto bytes = image.range(a + 2, image.byte(a + 1));
    return std::string(bytes.begin(), bytes.end());
}

TEST(Prompts, LeadingSpacesGoIntoTheAttributeNibbleAndTheHighNibbleStays) {
    ConfigImage image = StartupImage();
    image.setByte(0x114, 0x30);
    ASSERT_TRUE(StorePromptText(image, kNoPages, "  HELLO").ok);
    EXPECT_EQ(image.byte(0x114), 0x32);
    EXPECT_EQ(Stored(image, 0x114), "HELLO");
    EXPECT_EQ(ShownPromptText(image, kNoPages), "  HELLO");

    // A special prompt keeps three more spaces than it shows.
    ASSERT_TRUE(StorePromptText(image, kBeep, "HELLO").ok);
    EXPECT_EQ(image.byte(0x218) & 0x0F, 3);
    EXPECT_EQ(ShownPromptText(image, kBeep), "HELLO");

    // More than fifteen spaces: the rest stay in front of the text.
    ASSERT_TRUE(StorePromptText(image, kNoPages, std::string(17, ' ') + "AB").ok);
    EXPECT_EQ(image.byte(0x114) & 0x0F, 15);
    EXPECT_EQ(Stored(image, 0x114), "  AB");
    EXPECT_EQ(ShownPromptText(image, kNoPages), std::string(17, ' ') + "AB");
}

TEST(Prompts, EighteenCharactersAfterTheSpacesAreTheMost) {
    ConfigImage image = StartupImage();
    const ConfigImage before = image;
    for (const std::string& text : {std::string(19, 'X'), "  " + std::string(19, 'Y')}) {
        const Outcome out = StorePromptText(image, kNoPages, text);
        EXPECT_FALSE(out.ok);
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->key, "Msg2");
        EXPECT_EQ(out.message->english, "Can not exceed 18 characters exclude left space !");
    }
    // Spaces beyond the nibble that would push the text past the record.
    EXPECT_FALSE(StorePromptText(image, kNoPages, std::string(20, ' ') + std::string(16, 'Z')).ok);
    EXPECT_EQ(image, before);
    EXPECT_TRUE(StorePromptText(image, kNoPages, "   " + std::string(18, 'X')).ok);
    EXPECT_EQ(image.byte(0x115), 18);
    EXPECT_EQ(image.byte(0x128), before.byte(0x128));  // the next record is untouched
}

TEST(Prompts, LogoSetsThePromptModeAndUntrustedLengthsAreClamped) {
    ConfigImage image = StartupImage();
    // Sixteen spaces leave one space beyond the nibble: a logo of one space.
    ASSERT_TRUE(StorePromptText(image, kLogoPrompt, std::string(16, ' ')).ok);
    EXPECT_EQ(image.byte(0x101), 1);
    EXPECT_EQ(fields::kPromptMode.Get(image), 0u);
    ASSERT_TRUE(StorePromptText(image, kLogoPrompt, "").ok);  // empty: length 0, mode 2
    EXPECT_EQ(image.byte(0x101), 0);
    EXPECT_EQ(fields::kPromptMode.Get(image), 2u);
    image.setByte(0x101, 0xFF);
    EXPECT_EQ(ShownPromptText(image, kLogoPrompt).size(), 18u);
    EXPECT_THROW(PromptOffset(44), std::out_of_range);
}

TEST(Prompts, AlignmentForTheBoxLength) {
    EXPECT_EQ(AlignText("  HELLO ", 21, Alignment::Left), "HELLO");
    EXPECT_EQ(AlignText("HELLO", 21, Alignment::Centre), std::string(8, ' ') + "HELLO");
    EXPECT_EQ(AlignText("HELLO", 16, Alignment::Centre), std::string(5, ' ') + "HELLO");
    EXPECT_EQ(AlignText("HELLO", 18, Alignment::Right), std::string(13, ' ') + "HELLO");
    EXPECT_EQ(AlignText(std::string(19, 'X'), 18, Alignment::Right), std::string(19, 'X'));
    EXPECT_EQ(PromptMaxLength(0, true), 16);
    EXPECT_EQ(PromptMaxLength(kBeep, false), 18);
}

TEST(PromptLanguage, SwedishWritesItsCodeWithTheEnglishTextsAndKeepsTheHistoryRecords) {
    ConfigImage image = StartupImage();  // the German set
    const auto history = std::vector<std::uint8_t>(image.range(0x3B8, 40).begin(), image.range(0x3B8, 40).end());
    ChangePromptLanguage(image, 4);
    EXPECT_EQ(image.byte(0x3A) & 0x0F, 15);
    EXPECT_EQ(image.byte(0x3E) & 0x0F, 15);
    EXPECT_EQ(fields::kPromptMode.Get(image), 2u);
    EXPECT_EQ(ShownPromptText(image, kNoPages), std::string(6, ' ') + "NO PAGES");
    ChangePromptLanguage(image, 0);
    EXPECT_EQ(image.byte(0x3E) & 0x0F, 2);
    EXPECT_TRUE(std::equal(history.begin(), history.end(), image.range(0x3B8, 40).begin()));
    StoreLogoFont(image, 2);
    EXPECT_EQ(image.byte(0x3F) & 0x0F, 6);
}

TEST(SourceTexts, SourceFiveOfPageOneIsCapcodeSixFunctionBitB) {
    ConfigImage image = StartupImage();
    EXPECT_EQ(SourceCapcode(1, 5), 6);
    StoreSourceEnabled(image, 1, 5, true);
    EXPECT_EQ(image.byte(0x7C2), 0x04);
    EXPECT_TRUE(SourceEnabled(image, 1, 5));
    EXPECT_EQ(SourceLineOffset(1, 5, 0), 0x2A02u + 704 + 220);
    EXPECT_EQ(SourceLineOffset(1, 5, 1), 0x2A02u + 704 + 220 + 21);
    EXPECT_EQ(StoreSourceLine(image, 1, 5, 1, "HI"), "HI" + std::string(19, ' '));
    EXPECT_EQ(SourceLine(image, 1, 5, 1), "HI" + std::string(19, ' '));
    EXPECT_EQ(StoreSourceLine(image, 1, 5, 0, std::string(30, 'Q')), std::string(21, 'Q'));
    EXPECT_EQ(image.byte(0x2A02 + 704 + 220 + 21), 'H');  // a long line stays in its own bytes
    EXPECT_THROW(SourceLineOffset(12, 0, 0), std::out_of_range);
}

TEST(SourceTexts, TheSelectorWritesBitSixAndAlwaysClearsBitFive) {
    ConfigImage image = StartupImage();
    image.setByte(0x3B, 0x20);
    StoreSourceTextsItem(image, 1);
    EXPECT_EQ(image.byte(0x3B), 0x40);
    EXPECT_EQ(SourceTextsItem(image), 1);
    image.setByte(0x3B, 0x60);  // both bits from a loaded image: still "Enable"
    EXPECT_EQ(SourceTextsItem(image), 1);
    StoreSourceTextsItem(image, 0);
    EXPECT_EQ(image.byte(0x3B), 0x00);
}

TEST(Prompts, CentreLogoCentresTheTrimmedLogoForTheStoredFontSizeAndNeverCutsIt) {
    const struct {
        const char* logo;
        bool largeFont;
        std::string shown;
    } cases[] = {
        {"LOGO", false, std::string(8, ' ') + "LOGO"},  // a box of 21
        {"LOGO", true, std::string(6, ' ') + "LOGO"},   // a box of 16
        // Leading spaces reaching past the large box: trimmed first, then
        // (16 - 14) div 2 spaces in front; every letter stays.
        {"   ABCDEFGHIJKLMN", true, " ABCDEFGHIJKLMN"},
        {"   ABCDEFGHIJKLMNOP", true, "ABCDEFGHIJKLMNOP"},
        // Longer than the large box: shown whole, without spaces in front.
        {"  ABCDEFGHIJKLMNOPQR", true, "ABCDEFGHIJKLMNOPQR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logo);
        ConfigImage image = StartupImage();
        ASSERT_TRUE(StorePromptText(image, kLogoPrompt, c.logo).ok);
        fields::kLogoLargeFontOff.Set(image, c.largeFont ? 0 : 1);
        EXPECT_TRUE(CentreLogo(image).ok);
        EXPECT_EQ(ShownPromptText(image, kLogoPrompt), c.shown);
        const ConfigImage centred = image;
        EXPECT_TRUE(CentreLogo(image).ok);  // already centred: nothing stored
        EXPECT_EQ(image.bytes(), centred.bytes());
    }
}

}  // namespace
}  // namespace zrv
