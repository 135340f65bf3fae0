#include <gtest/gtest.h>

#include <string>

#include "core/default_image.h"
#include "core/frequency.h"
#include "core/image_layout.h"

namespace zrv {
namespace {

std::string Hex(const ConfigImage& image, std::size_t offset, std::size_t length) {
    std::string out;
    char buf[4];
    for (auto b : image.range(offset, length)) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

struct Worked {
    int band;
    std::uint32_t base;
    std::uint32_t stepHz;
    std::uint32_t divisor;
    FrequencyEncoding encoding;
    const char* pllN;
    const char* pllR;
    const char* incd;  // 0x0C..0x0D; for the high band only 0x0D is written
    int step;
    int fraction;
};

// Every row of the worked-values table.
TEST(FrequencyEncoding, MatchesEveryWorkedRow) {
    using E = FrequencyEncoding;
    const Worked rows[] = {
        {0, 1300000, 12500, 1, E::LowBand, "10 F8 00", "01 A3 11", "00 80", 12, 50},
        {0, 1300125, 2500, 1, E::LowBand, "54 DA 80", "08 2F 11", "00 80", 2, 50},
        {0, 1300000, 25000, 2, E::LowBand, "10 F8 00", "01 A3 11", "01 00", 25, 0},
        {0, 1300125, 25000, 4, E::LowBand, "21 F1 00", "03 46 11", "02 00", 25, 0},
        {0, 1300125, 5000, 2, E::LowBand, "54 DA 80", "08 2F 11", "01 00", 5, 0},
        {1, 4000000, 12500, 1, E::LowBand, "3B 28 00", "03 46 11", "00 80", 12, 50},
        {1, 4000000, 5000, 1, E::LowBand, "93 E4 00", "08 2F 11", "00 80", 5, 0},
        {2, 9280125, 25000, 4, E::HighBand, "02 36 A2", "00 28 01", "AA 04", 25, 0},
    };
    for (const auto& w : rows) {
        ConfigImage image;
        image.fill(0, kImageSize, 0xAA);
        const int factor = EncodeFrequency(image, w.band, {w.encoding, w.base, w.stepHz, w.divisor});
        SCOPED_TRACE(std::to_string(w.band) + " " + std::to_string(w.base) + " " +
                     std::to_string(w.stepHz));
        EXPECT_EQ(Hex(image, 0x05, 3), w.pllN);
        EXPECT_EQ(Hex(image, 0x09, 3), w.pllR);
        EXPECT_EQ(Hex(image, 0x0C, 2), w.incd);
        EXPECT_EQ(image.byte(0x0E), w.step);
        EXPECT_EQ(image.byte(0x45A), w.fraction);
        EXPECT_EQ(BaseFrequency(image), w.base);
        EXPECT_EQ(factor, w.band == 0 ? 1 : w.band == 1 ? 2 : 5);
    }
}

struct Store : ::testing::Test {
    ConfigImage image = StartupImage();
    FrequencyOutcome Put(int band, const std::string& text, bool firmwareUnknown = false) {
        return StoreChannelFrequency(image, band, text, firmwareUnknown);
    }
};

TEST_F(Store, Band0TwelveAndAHalfKilohertzRaster) {
    ASSERT_TRUE(Put(0, "1530000").ok());
    EXPECT_EQ(Hex(image, 0x68, 4), "00 17 58 90");
    EXPECT_EQ(Hex(image, 0x05, 3), "10 F8 00");
    EXPECT_EQ(ChannelSpacingText(image), "12.5KHz");
    ASSERT_TRUE(Put(0, "1530125").ok());
    EXPECT_EQ(BaseFrequency(image), 1300000u);
    EXPECT_EQ(ChannelFrequency(image), 1530125u);
}

TEST_F(Store, Band0FallsToTheTwoAndAHalfKilohertzRaster) {
    ASSERT_TRUE(Put(0, "1530025").ok());
    EXPECT_EQ(BaseFrequency(image), 1300125u);
    EXPECT_EQ(image.byte(0x0E), 2);
    EXPECT_EQ(image.byte(0x45A), 50);
    EXPECT_EQ(ChannelSpacingText(image), "2.5KHz");
}

TEST_F(Store, OffTheRasterGivesMsg51AndWritesNothing) {
    const auto before = image;
    for (auto [band, text] : {std::pair{0, "1530010"}, std::pair{2, "9310100"}}) {
        const auto out = Put(band, text);
        EXPECT_EQ(out.status, FrequencyStatus::OffRaster) << text;
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->key, "Msg51");
        EXPECT_EQ(out.message->english, "Please input numeric between 0 - 25!");
    }
    EXPECT_EQ(Put(0, "1530010", true).status, FrequencyStatus::OffRaster);
    EXPECT_EQ(Put(0, "1530025", true).status, FrequencyStatus::OffRaster);  // 2.5 kHz only when known
    EXPECT_EQ(image, before);
}

TEST_F(Store, Band0WithUnknownFirmwareUsesTheCoarsePlan) {
    ASSERT_TRUE(Put(0, "1530000", true).ok());
    EXPECT_EQ(image.word(0x0C), 0x0100);
    EXPECT_EQ(image.byte(0x0E), 25);
    ASSERT_TRUE(Put(0, "1530125", true).ok());
    EXPECT_EQ(BaseFrequency(image), 1300125u);
    EXPECT_EQ(image.word(0x0C), 0x0200);
    ASSERT_TRUE(Put(0, "1530050", true).ok());
    EXPECT_EQ(image.word(0x0C), 0x0100);
    EXPECT_EQ(image.byte(0x0E), 5);
}

TEST_F(Store, Band1RastersAndBand2LeavesByte0x0C) {
    ASSERT_TRUE(Put(1, "4540125").ok());
    EXPECT_EQ(image.byte(0x0E), 12);
    ASSERT_TRUE(Put(1, "4540050").ok());
    EXPECT_EQ(image.byte(0x0E), 5);
    EXPECT_EQ(BaseFrequencyText(image, 1), "4000000");
    image.setByte(0x0C, 0x01);
    ASSERT_TRUE(Put(2, "9310125").ok());
    EXPECT_EQ(image.byte(0x0C), 0x01);  // a leftover high byte of an earlier band
    EXPECT_EQ(IncdText(image), "104");
    EXPECT_EQ(BaseFrequencyText(image, 0), "-------");
    EXPECT_EQ(ChannelSpacingText(image), "25KHz");
    EXPECT_EQ(BandFromImage(image), 2);
}

TEST_F(Store, LimitsAreInclusiveAndMsg50NamesThem) {
    EXPECT_TRUE(Put(0, "1800000").ok());
    EXPECT_TRUE(Put(0, "1300000").ok());
    const auto before = image;
    const auto out = Put(0, "1800001");
    EXPECT_EQ(out.status, FrequencyStatus::OutOfRange);
    ASSERT_TRUE(out.message);
    EXPECT_EQ(out.message->key, "Msg50");
    EXPECT_EQ(out.message->english,
              "Frequency setting error(1300000 < = Frequency < =1800000 )");
    EXPECT_EQ(out.message->args, (std::vector<std::string>{"130", "180"}));
    const auto high = Put(2, "9330000");
    ASSERT_TRUE(high.message);
    EXPECT_EQ(high.message->english,
              "Frequency setting error(9290000 < = Frequency < =9320000 )");
    EXPECT_EQ(Put(0, "99999999999999999999999").status, FrequencyStatus::OutOfRange);
    EXPECT_EQ(image, before);
}

TEST_F(Store, EmptyAndNonNumericTextWriteNothing) {
    const auto before = image;
    EXPECT_EQ(Put(0, "").status, FrequencyStatus::Empty);
    EXPECT_FALSE(Put(0, "").message);
    for (const char* text : {"153.0000", "abc", "-1530000", "1530000 ", "+1530000"}) {
        const auto out = Put(0, text);
        EXPECT_EQ(out.status, FrequencyStatus::NotANumber) << text;
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->key, "Msg1");
    }
    EXPECT_EQ(image, before);
}

TEST(BandLimits, ComeFromTheItemText) {
    const auto l = BandLimitsFromItemText("400-499MHz");
    EXPECT_EQ(l.lower, 4000000u);
    EXPECT_EQ(l.upper, 4990000u);
    EXPECT_EQ(BandLimitsFromItemText("xx").upper, 0u);  // a broken item accepts nothing
}

TEST(BandFromImage, ByteZeroDAndTheBaseFrequencyNibble) {
    ConfigImage image;
    image.setByte(0x0D, 0);
    image.setByte(0x65, 0x80);
    EXPECT_EQ(BandFromImage(image), 0);  // 0x0D = 0 wins over the base frequency
    image.setByte(0x0D, 4);
    EXPECT_EQ(BandFromImage(image), 2);
    image.setByte(0x65, 0x3F);
    EXPECT_EQ(BandFromImage(image), 1);
    image.setByte(0x65, 0x4F);
    EXPECT_EQ(BandFromImage(image), 1);
    image.setByte(0x65, 0x1F);
    EXPECT_EQ(BandFromImage(image), 0);
    image.setByte(0x65, 0x2F);
    EXPECT_EQ(BandFromImage(image), std::nullopt);
}

TEST(PllStrip, TextsAndFractionRule) {
    ConfigImage image;
    image.setByte(0x0E, 12);
    image.setByte(0x45A, 25);
    EXPECT_EQ(ChannelSpacingText(image), "12.25KHz");
    image.setByte(0x45A, 30);
    EXPECT_EQ(ChannelSpacingText(image), "12KHz");
    image.setWord(0x0C, 0x0002);
    EXPECT_EQ(IncdText(image), "02");
    image.setByte(0x05, 0x0A);
    EXPECT_EQ(PllNText(image), "0A0000");
}

TEST(BaudRate, ItemsCodesAndTimingBytes) {
    ConfigImage image;
    ApplyBaudItem(image, 2);
    EXPECT_EQ(image.GetImageBits(0x1403, 4, 2), 1);
    EXPECT_EQ(image.byte(0x1400), 0x05);
    EXPECT_EQ(image.byte(0x1401), 0x1F);
    image.SetImageBits(0x1403, 4, 0, 2);
    EXPECT_EQ(BaudItemFromImage(image), 2);
    ApplyBaudItem(image, 0);
    EXPECT_EQ(BaudItemFromImage(image), 0);
    EXPECT_EQ(image.byte(0x1401), 0x07);
}

TEST(BandChange, Forces1200BpsAndTheBandsPresetFrequency) {
    for (int band = 0; band < kBandCount; ++band) {
        ConfigImage image = StartupImage();
        ApplyBaudItem(image, 2);  // 2400 bps before the change
        const auto out = ChangeBand(image, band, false);
        ASSERT_TRUE(out.ok()) << band;
        EXPECT_EQ(BaudItemFromImage(image), kBaud1200) << band;
        EXPECT_EQ(image.byte(0x1400), 0x02);
        EXPECT_EQ(image.byte(0x1401), 0x11);
        EXPECT_EQ(std::to_string(ChannelFrequency(image)), kBands[static_cast<std::size_t>(band)].preset);
    }
    ConfigImage image = StartupImage();
    ChangeBand(image, 2, false);
    EXPECT_EQ(Hex(image, 0x05, 3), "02 36 A2");  // base 9280125 on the 25 kHz raster, divisor 4
    EXPECT_EQ(BaseFrequencyText(image, 2), "9280125");
    const auto before = image;
    EXPECT_THROW(ChangeBand(image, 3, false), std::out_of_range);
    EXPECT_EQ(image, before);
}

TEST(FrequencyBox, KeyFilterAndNarrowbandBox) {
    for (char32_t ok : {U'0', U'9', U'\b', char32_t{0x1F}}) EXPECT_TRUE(CheckFrequencyKey(ok).ok);
    for (char32_t bad : {U'a', U'.', U' ', U'-', U'\u00e9'}) {
        const Outcome out = CheckFrequencyKey(bad);
        EXPECT_FALSE(out.ok);
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->key, "Msg1");
        EXPECT_EQ(out.message->english, "Please insert a decimal numeric !");
    }
    ConfigImage image = StartupImage();
    EXPECT_TRUE(NarrowBand(image));
    image.setByte(0x457, 0xFF);
    StoreNarrowBand(image, false);
    EXPECT_EQ(image.byte(0x457), 0xDF);  // bit 5 only
    EXPECT_FALSE(NarrowBand(image));
}

}  // namespace
}  // namespace zrv
