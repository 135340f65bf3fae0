#include <gtest/gtest.h>

#include <numeric>

#include "core/capcodes.h"
#include "core/default_image.h"
#include "core/image_rules.h"

namespace zrv {
namespace {

ConfigImage Default() {
    ConfigImage image;
    BuildDefaultImage(image);
    return image;
}

TEST(TableChecksum, SumsBytes0x100Through0x36COnly) {
    auto image = Default();
    const auto bytes = image.range(0x100, 0x36D - 0x100);
    const unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u);
    EXPECT_EQ(TableChecksum(image), sum & 0xFFFF);
    const auto before = TableChecksum(image);
    image.setByte(0x36D, image.byte(0x36D) + 1);
    image.setByte(0x0FF, image.byte(0x0FF) + 1);
    EXPECT_EQ(TableChecksum(image), before);
    image.setByte(0x36C, image.byte(0x36C) + 1);
    EXPECT_EQ(TableChecksum(image), static_cast<std::uint16_t>(before + 1));
    image.setByte(0x100, image.byte(0x100) + 1);
    EXPECT_EQ(TableChecksum(image), static_cast<std::uint16_t>(before + 2));
}

TEST(TableChecksum, WrapsModulo65536AndIsStoredHighByteFirst) {
    ConfigImage image;
    image.fill(0x100, 621, 0xFF);  // 621 x 255 = 158355 = 0x26A93
    EXPECT_EQ(TableChecksum(image), 0x6A93);
    StoreTableChecksum(image);
    EXPECT_EQ(image.byte(0x7FE), 0x6A);
    EXPECT_EQ(image.byte(0x7FF), 0x93);
}

TEST(ImageChecksum, CoversTheGeneralAreaWithoutTheWriteMarker) {
    ConfigImage image;
    image.setByte(0x000, 1);
    image.setByte(0x7FD, 2);
    EXPECT_EQ(ImageChecksum(image), 3);
    image.setByte(0x3E0, 0x55);  // write marker
    image.setByte(0x7FE, 0x77);  // the checksum itself
    image.setByte(0x800, 0x99);
    EXPECT_EQ(ImageChecksum(image), 3);
    StoreImageChecksum(image);
    EXPECT_EQ(image.word(0x7FE), 3);
}

TEST(Identity, SaveWritesFourteenBytesAndKeeps0x3EF) {
    auto image = Default();
    image.setByte(0x3EF, 0x5A);
    StampIdentityForSave(image);
    auto r = image.range(0x3E1, 15);
    EXPECT_EQ(std::string(r.begin(), r.end()), "ZR-V41K  V1.09\x5A");
    EXPECT_TRUE(HasModelIdentity(image.bytes()));
    image.setByte(0x3E7, 'J');
    EXPECT_FALSE(HasModelIdentity(image.bytes()));
    const std::uint8_t tooShort[0x3E5] = {};
    EXPECT_FALSE(HasModelIdentity(tooShort));
}

TEST(SerialNumber, SumMustMatchTheTwelveBytes) {
    ConfigImage image;
    EXPECT_TRUE(StorePagerSerialNumber(image, "AB1234567890"));
    EXPECT_FALSE(StorePagerSerialNumber(image, "TOO SHORT"));
    EXPECT_EQ(PagerSerialNumber(image), "AB1234567890");
    EXPECT_FALSE(SerialNumberValid(image));
    StoreSerialNumberSum(image);
    const unsigned sum = 'A' + 'B' + '1' + '2' + '3' + '4' + '5' + '6' + '7' + '8' + '9' + '0';
    EXPECT_EQ(image.word(0x4E2), sum);
    EXPECT_TRUE(SerialNumberValid(image));
    EXPECT_TRUE(SerialNumberValidForKeep(image));
    image.setByte(0x4E3, image.byte(0x4E3) ^ 1);
    EXPECT_FALSE(SerialNumberValid(image));
    // An all-zero area has a matching sum of 0, which the link does not keep.
    ConfigImage blank;
    EXPECT_TRUE(SerialNumberValid(blank));
    EXPECT_FALSE(SerialNumberValidForKeep(blank));
}

TEST(ClearUnusedCapcodes, SixteenZeroesSlots16To46AndTheirBitmapBytes) {
    ConfigImage image;
    image.fill(0x1200, 0x200, 0xA5);
    const auto before = image;
    ClearUnusedCapcodes(image, 16);
    for (std::size_t i = 0x1200; i < 0x1400; ++i) {
        const bool cleared = (i >= 0x12B0 && i <= 0x130C) || (i >= 0x1237 && i <= 0x123C) ||
                             (i >= 0x123F && i <= 0x1244);
        ASSERT_EQ(image.byte(i), cleared ? 0 : 0xA5) << std::hex << i;
    }
    auto full = before;
    ClearUnusedCapcodes(full, 48);
    EXPECT_EQ(full, before);
    auto none = before;
    ClearUnusedCapcodes(none, 0);
    EXPECT_EQ(none.byte(0x1280), 0);
    EXPECT_EQ(none.byte(0x130C), 0);
    EXPECT_EQ(none.byte(0x130D), 0xA5);  // slot 47 is always kept
    EXPECT_EQ(none.byte(0x1235), 0);
    EXPECT_EQ(none.byte(0x1245), 0xA5);
}

TEST(ClearUnusedCapcodes, AnUntrustedCountStaysInsideTheCapcodeArea) {
    ConfigImage image;
    image.fill(0, kImageSize, 0xA5);
    ClearUnusedCapcodes(image, 1000);  // treated as 48: nothing cleared
    EXPECT_EQ(image.byte(0x1280), 0xA5);
    ClearUnusedCapcodes(image, -8);    // treated as 0
    EXPECT_EQ(image.byte(0x127F), 0xA5);
    EXPECT_EQ(image.byte(0x1310), 0xA5);
    EXPECT_EQ(image.byte(0x1234), 0xA5);
}

TEST(ForcedValues, AfterLoadAndOnRefresh) {
    ConfigImage image;
    image.fill(0, kImageSize, 0x00);
    image.setByte(0x4A1, 0b0010'0010);
    image.setByte(0x7F, 0xFF);
    image.setByte(0x52E, 7);
    image.setByte(0x52F, 7);
    int count = 48;
    NormaliseAfterLoad(image, count);
    EXPECT_EQ(count, 16);
    EXPECT_EQ(image.byte(0x1246), 16);
    EXPECT_EQ(image.byte(0x520), 0x96);
    EXPECT_EQ(image.byte(0x2F), 0x01);
    EXPECT_EQ(image.byte(0x31), 0x40);
    EXPECT_EQ(image.byte(0x4A1), 0b1000'0001);
    EXPECT_EQ(image.byte(0x52E), 0);
    EXPECT_EQ(image.byte(0x52F), 0);
    EXPECT_EQ(image.byte(0x4A2), 0x29);
    EXPECT_EQ(image.byte(0x7F), 0xFE);

    image.setByte(0x457, 0xFF);
    ApplyRefreshForcedValues(image);
    EXPECT_EQ(image.byte(0x457), 0x7F);
    EXPECT_EQ(image.byte(0x4F8), 0x29);
}

}  // namespace
}  // namespace zrv
