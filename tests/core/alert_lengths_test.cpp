// Alert lengths of the personal alert and the fifteen mail drops: what each
// combo stores, what it shows again, and the codes of the status strip.
#include <gtest/gtest.h>

#include "core/alert_lengths.h"
#include "core/default_image.h"

namespace zrv {
namespace {

std::vector<std::string> StripTexts(const ConfigImage& image) {
    std::vector<std::string> texts;
    for (const auto& code : AlertLengthStrip(image)) texts.push_back(code.value_or("(kept)"));
    return texts;
}

TEST(AlertLengthDefaults, DefaultImageShowsEightSecondsAndEveryMailDropOff) {
    const ConfigImage image = StartupImage();
    EXPECT_EQ(PersonalAlertItem(image), 1);  // "8 sec"
    for (int i = 0; i < kMailDropCount; ++i) EXPECT_EQ(MailDropAlertItem(image, i), kMailDropDisable) << i;
    std::vector<std::string> expected{"08"};
    expected.resize(16, "--");
    EXPECT_EQ(StripTexts(image), expected);
}

TEST(PersonalAlert, EachItemStoresItsSecondsAndShowsItsCode) {
    ConfigImage image = StartupImage();
    const std::uint8_t bytes[] = {2, 8, 16, 32, 0};
    const char* codes[] = {"02", "08", "16", "32", "CT"};
    for (int item = 0; item < kPersonalAlertItemCount; ++item) {
        StorePersonalAlert(image, item);
        EXPECT_EQ(image.byte(0x90), bytes[item]);
        EXPECT_EQ(PersonalAlertItem(image), item);
        EXPECT_EQ(PersonalAlertCode(image), codes[item]);
    }
    EXPECT_EQ(image.byte(0x90), 0);  // "continuos" came last
    EXPECT_EQ(AlertLengthStrip(image)[0], "CT");
    EXPECT_THROW(StorePersonalAlert(image, 5), std::out_of_range);
    EXPECT_THROW(StorePersonalAlert(image, -1), std::out_of_range);
    EXPECT_EQ(image.byte(0x90), 0);
}

TEST(PersonalAlert, UnknownLengthKeepsComboAndLabel) {
    ConfigImage image = StartupImage();
    for (const std::uint8_t byte : {1, 5, 31, 0xFF}) {
        image.setByte(0x90, byte);
        EXPECT_EQ(PersonalAlertItem(image), std::nullopt) << int(byte);
        EXPECT_EQ(AlertLengthStrip(image)[0], std::nullopt) << int(byte);
    }
}

TEST(MailDropAlert, DisableKeepsTheLengthAndBeepThenWritesZero) {
    ConfigImage image = StartupImage();
    constexpr int kMailDrop3 = 2;
    StoreMailDropAlert(image, kMailDrop3, kMailDropSixteenSeconds);
    EXPECT_EQ(image.byte(0x37), 0x04);  // bit 2
    EXPECT_EQ(image.byte(0x93), 16);
    EXPECT_EQ(AlertLengthStrip(image)[3], "16");
    EXPECT_EQ(MailDropAlertItem(image, kMailDrop3), kMailDropSixteenSeconds);

    StoreMailDropAlert(image, kMailDrop3, kMailDropDisable);
    EXPECT_EQ(image.byte(0x37), 0x00);
    EXPECT_EQ(image.byte(0x93), 16);
    EXPECT_EQ(AlertLengthStrip(image)[3], "--");
    EXPECT_EQ(MailDropAlertItem(image, kMailDrop3), kMailDropDisable);

    StoreMailDropAlert(image, kMailDrop3, kMailDropBeep);
    EXPECT_EQ(image.byte(0x37), 0x04);
    EXPECT_EQ(image.byte(0x93), 0);
    EXPECT_EQ(AlertLengthStrip(image)[3], "BP");

    StoreMailDropAlert(image, kMailDrop3, kMailDropOneSecond);
    EXPECT_EQ(image.byte(0x93), 1);
    EXPECT_EQ(AlertLengthStrip(image)[3], "01");
}

TEST(MailDropAlert, EachMailDropHasItsOwnBitAndByte) {
    for (int i = 0; i < kMailDropCount; ++i) {
        ConfigImage image = StartupImage();
        const ConfigImage before = image;
        StoreMailDropAlert(image, i, kMailDropOneSecond);
        const std::size_t onByte = 0x37 + static_cast<std::size_t>(i / 8);
        const std::size_t lengthByte = 0x91 + static_cast<std::size_t>(i);
        EXPECT_EQ(image.byte(onByte), 1u << (i % 8)) << i;
        EXPECT_EQ(image.byte(lengthByte), 1) << i;
        for (std::size_t o = 0; o < kImageSize; ++o) {
            if (o == onByte || o == lengthByte) continue;
            ASSERT_EQ(image.byte(o), before.byte(o)) << "mail drop " << i << " changed " << std::hex << o;
        }
        const auto strip = AlertLengthStrip(image);
        for (int j = 0; j < kMailDropCount; ++j)
            EXPECT_EQ(strip[static_cast<std::size_t>(j + 1)], j == i ? "01" : "--") << i << " " << j;
    }
}

TEST(MailDropAlert, MailDropsNineAndFSitInTheSecondByte) {
    ConfigImage image = StartupImage();
    StoreMailDropAlert(image, 14, kMailDropSixteenSeconds);  // mail drop F
    EXPECT_EQ(image.byte(0x38), 0x40);
    EXPECT_EQ(image.byte(0x9F), 16);
    StoreMailDropAlert(image, 8, kMailDropBeep);  // mail drop 9
    EXPECT_EQ(image.byte(0x38), 0x41);
    EXPECT_EQ(image.byte(0x99), 0);
    EXPECT_EQ(image.byte(0x37), 0x00);
}

TEST(MailDropAlert, TheUnusedTopBitOfTheSecondByteIsKept) {
    ConfigImage image = StartupImage();
    image.setByte(0x38, 0x80);
    for (int i = 0; i < kMailDropCount; ++i) {
        EXPECT_FALSE(MailDropAlertOn(image, i)) << i;
        StoreMailDropAlert(image, i, kMailDropBeep);
    }
    EXPECT_EQ(image.byte(0x37), 0xFF);
    EXPECT_EQ(image.byte(0x38), 0xFF);
    for (int i = 0; i < kMailDropCount; ++i) StoreMailDropAlert(image, i, kMailDropDisable);
    EXPECT_EQ(image.byte(0x37), 0x00);
    EXPECT_EQ(image.byte(0x38), 0x80);
}

TEST(MailDropAlert, UnknownLengthOfAMailDropThatIsOnKeepsComboAndLabel) {
    ConfigImage image = StartupImage();
    image.setByte(0x37, 0x01);
    image.setByte(0x91, 2);
    EXPECT_EQ(MailDropAlertItem(image, 0), std::nullopt);
    EXPECT_EQ(AlertLengthStrip(image)[1], std::nullopt);
    image.setByte(0x37, 0x00);  // the same length while off shows "--"
    EXPECT_EQ(MailDropAlertItem(image, 0), kMailDropDisable);
    EXPECT_EQ(AlertLengthStrip(image)[1], "--");
}

TEST(MailDropAlert, IndexesOutsideTheirRangeThrowAndChangeNothing) {
    ConfigImage image = StartupImage();
    const ConfigImage before = image;
    EXPECT_THROW(StoreMailDropAlert(image, 15, kMailDropBeep), std::out_of_range);
    EXPECT_THROW(StoreMailDropAlert(image, -1, kMailDropBeep), std::out_of_range);
    EXPECT_THROW(StoreMailDropAlert(image, 0, 4), std::out_of_range);
    EXPECT_THROW(StoreMailDropAlert(image, 0, -1), std::out_of_range);
    EXPECT_THROW(MailDropAlertItem(image, 15), std::out_of_range);
    EXPECT_EQ(image, before);
}

TEST(AlertLengthDefaults, StoringBackWhatIsShownChangesNothing) {
    ConfigImage image = StartupImage();
    StoreMailDropAlert(image, 4, kMailDropSixteenSeconds);
    StoreMailDropAlert(image, 4, kMailDropDisable);  // off, length 16 kept
    StoreMailDropAlert(image, 11, kMailDropOneSecond);
    const ConfigImage shown = image;
    StorePersonalAlert(image, *PersonalAlertItem(shown));
    for (int i = 0; i < kMailDropCount; ++i) StoreMailDropAlert(image, i, *MailDropAlertItem(shown, i));
    EXPECT_EQ(image, shown);
}

}  // namespace
}  // namespace zrv
