// The battery gauge thresholds: which list items the trio of the battery
// type in force shows, storing an item with the order warning, and the
// defaults a change of the battery type brings.
#include <gtest/gtest.h>

#include "core/battery_thresholds.h"
#include "core/default_image.h"

namespace zrv {
namespace {

constexpr int kStandardHigh = 5;  // cboBatLev5
constexpr int kItem148V = 2;      // "1.48V" in the standard row

ConfigImage StandardImage(std::uint8_t low, std::uint8_t med, std::uint8_t high) {
    ConfigImage image;
    BuildDefaultImage(image);
    image.setByte(0x4FC, image.byte(0x4FC) & ~0x04);
    image.setByte(0x8D, low);
    image.setByte(0x8E, med);
    image.setByte(0x8F, high);
    return image;
}

TEST(BatteryThresholds, TheDefaultImageShowsNoItemBecauseItsValuesAreOfTheOtherRow) {
    ConfigImage image;
    BuildDefaultImage(image);
    EXPECT_EQ(BatteryTypeOf(image), BatteryType::Rechargeable);
    EXPECT_EQ(FirstTagOf(BatteryTypeOf(image)), 0);
    EXPECT_EQ(ThresholdItems(image), (std::array<int, 3>{-1, -1, -1}));  // 121, 132, 142 are standard values

    image = StandardImage(121, 132, 142);
    EXPECT_EQ(FirstTagOf(BatteryTypeOf(image)), 3);
    EXPECT_EQ(ThresholdItems(image), (std::array<int, 3>{8, 6, 4}));  // "1.19V", "1.29V", "1.39V"
    image.setByte(0x8E, 150);  // between two gauge values
    EXPECT_EQ(ThresholdItems(image), (std::array<int, 3>{8, -1, 4}));
}

TEST(BatteryThresholds, StoredValueStaysAndAWrongOrderIsReportedWithMsg41) {
    ConfigImage image = StandardImage(121, 132, 142);
    const Outcome inOrder = StoreThreshold(image, kStandardHigh, kItem148V);
    EXPECT_TRUE(inOrder.ok);
    EXPECT_FALSE(inOrder.message);
    EXPECT_EQ(image.byte(0x8F), 151);

    image.setByte(0x8E, 151);  // Med equal to High is out of order
    const Outcome warned = StoreThreshold(image, kStandardHigh, kItem148V);
    EXPECT_TRUE(warned.ok);
    ASSERT_TRUE(warned.message);
    EXPECT_EQ(warned.message->key, "Msg41");
    EXPECT_EQ(warned.message->english, "Waring ! You must let ( Level-High > Level-Med > Level-Low ).");
    EXPECT_EQ(warned.message->icon, MsgIcon::Exclamation);
    EXPECT_EQ(warned.message->boxCaption(), "ZR-V41K");
    EXPECT_EQ(image.byte(0x8F), 151);  // nothing undone

    // Each list writes its own place only, Low/Med/High of either trio.
    ConfigImage r;
    BuildDefaultImage(r);
    EXPECT_TRUE(StoreThreshold(r, 0, 10).message);  // Low 200 above Med 132
    EXPECT_EQ(r.byte(0x8D), 200);
    EXPECT_EQ(r.byte(0x8E), 132);
    StoreThreshold(r, 1, 5);
    StoreThreshold(r, 2, 0);
    EXPECT_EQ(r.byte(0x8E), 214);
    EXPECT_EQ(r.byte(0x8F), 228);
    EXPECT_EQ(ThresholdItems(r), (std::array<int, 3>{10, 5, 0}));
    EXPECT_THROW(StoreThreshold(r, 0, 11), std::out_of_range);  // the rechargeable row has 11 items
    EXPECT_THROW(StoreThreshold(r, 6, 0), std::out_of_range);
}

TEST(BatteryThresholds, ABatteryTypeChangeBringsTheDefaultsOfTheNewType) {
    ConfigImage image = StandardImage(102, 107, 111);
    image.setByte(0x530, 0x55);
    image.setByte(0x531, 0xAA);
    ApplyBatteryTypeDefaults(image);
    EXPECT_EQ(image.byte(0x8D), 121);
    EXPECT_EQ(image.byte(0x8E), 132);
    EXPECT_EQ(image.byte(0x8F), 142);
    EXPECT_EQ(image.byte(0x530), 0);
    EXPECT_EQ(image.byte(0x531), 0);

    image.setByte(0x4FC, image.byte(0x4FC) | 0x04);
    ApplyBatteryTypeDefaults(image);
    EXPECT_EQ(ThresholdItems(image), (std::array<int, 3>{9, 4, 1}));  // "2.40V", "2.55V", "2.65V"
    EXPECT_EQ(image.byte(0x8D), 204);
    EXPECT_EQ(image.byte(0x8F), 225);
}

}  // namespace
}  // namespace zrv
