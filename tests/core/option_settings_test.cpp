// The option settings of the alerts page: lockout and out-of-range
// selectors, the manual-write switches, the pager menu items and the
// contrast, read from and stored into the image.
#include <gtest/gtest.h>

#include <array>

#include "core/default_image.h"
#include "core/music.h"
#include "core/option_settings.h"

namespace zrv {
namespace {

constexpr int kSecondsItem30 = 1, kSecondsItem60 = 2, kSecondsItem240 = 5;

TEST(SequentialLockout, ItemFollowsLongestThenOnThenStep) {
    ConfigImage image;
    const std::pair<std::uint8_t, int> shown[] = {
        {0x00, 0}, {0x03, 0},              // off, whatever the step
        {0x08, 1}, {0x09, 2}, {0x0A, 3}, {0x0B, 4},
        {0x04, 5}, {0x0F, 5},              // longest wins over on and step
        {0xF8, 1},                         // the high nibble is not the lockout's
    };
    for (const auto& [byte, item] : shown) {
        image.setByte(0x3C, byte);
        EXPECT_EQ(LockoutItem(image), item) << int(byte);
    }
}

TEST(SequentialLockout, LongestKeepsTheStepAndAShorterTimeClearsIt) {
    ConfigImage image;
    image.setByte(0x3C, 0xA0);
    StoreLockoutItem(image, kSecondsItem60);
    EXPECT_EQ(image.byte(0x3C), 0xA9);
    StoreLockoutItem(image, kSecondsItem240);
    EXPECT_EQ(image.byte(0x3C), 0xAD);  // bits 0-1 still 1, bits 2 and 3 set
    EXPECT_EQ(LockoutItem(image), kSecondsItem240);
    StoreLockoutItem(image, kSecondsItem30);
    EXPECT_EQ(image.byte(0x3C), 0xA8);
    StoreLockoutItem(image, 0);
    EXPECT_EQ(image.byte(0x3C), 0xA0);
    for (int item = 0; item < kLockoutItemCount; ++item) {
        StoreLockoutItem(image, item);
        EXPECT_EQ(LockoutItem(image), item);
    }
    EXPECT_THROW(StoreLockoutItem(image, 6), std::out_of_range);
    EXPECT_THROW(StoreLockoutItem(image, -1), std::out_of_range);
}

TEST(OutOfRangeTimer, ItemFollowsLongestThenOnThenStep) {
    ConfigImage image;
    image.setByte(0x4FC, 0x02);  // the timer of 0x3D applies
    const std::pair<std::uint8_t, int> shown[] = {
        {0x00, 0}, {0x06, 0}, {0x08, 1}, {0x0A, 2}, {0x0C, 3}, {0x0E, 4}, {0xF9, 1},
    };
    for (const auto& [byte, item] : shown) {
        image.setByte(0x3D, byte);
        EXPECT_EQ(OutOfRangeItem(image), item) << int(byte);
    }
    image.setByte(0x4FC, 0xFD);  // bit 1 clear: the longest time, whatever 0x3D holds
    EXPECT_EQ(OutOfRangeItem(image), 5);
}

TEST(OutOfRangeTimer, StoresEachItemAndFifteenMinutesLeavesTheTimerBits) {
    ConfigImage image;
    image.setByte(0x3D, 0xF1);
    image.setByte(0x4FC, 0x05);
    StoreOutOfRangeItem(image, 3);  // "5 min"
    EXPECT_EQ(image.byte(0x3D), 0xFD);
    EXPECT_EQ(image.byte(0x4FC), 0x07);
    StoreOutOfRangeItem(image, 5);  // "15 min"
    EXPECT_EQ(image.byte(0x3D), 0xFD);
    EXPECT_EQ(image.byte(0x4FC), 0x05);
    EXPECT_EQ(image.byte(0x4FB), 15);
    StoreOutOfRangeItem(image, 0);  // "Disable" keeps the step
    EXPECT_EQ(image.byte(0x3D), 0xF5);
    EXPECT_EQ(image.byte(0x4FC), 0x07);
    for (int item = 0; item < kOutOfRangeItemCount; ++item) {
        StoreOutOfRangeItem(image, item);
        EXPECT_EQ(OutOfRangeItem(image), item);
    }
    EXPECT_THROW(StoreOutOfRangeItem(image, 6), std::out_of_range);
}

TEST(TransferOptions, EachSwitchHasItsOwnBitAndTwoAreInverted) {
    ConfigImage image;
    BuildDefaultImage(image);
    EXPECT_EQ(TransferOptionsFromImage(image), TransferOptions{});  // all unchecked by default

    image.setByte(0x3D, 0xFF);
    image.setByte(0x36, 0xF8);
    EXPECT_EQ(TransferOptionsFromImage(image), (TransferOptions{false, true, false, false}));
    StoreTransferOptions(image, TransferOptions{false, true, true, false});
    EXPECT_EQ(image.byte(0x36), 0xFA);  // "Password Required Enable" sets bit 1
    StoreTransferOptions(image, TransferOptions{true, false, false, true});
    EXPECT_EQ(image.byte(0x3D), 0xEF);  // "Manual Write Enable" clears bit 4
    EXPECT_EQ(image.byte(0x36), 0xFD);
    EXPECT_EQ(TransferOptionsFromImage(image), (TransferOptions{true, false, false, true}));
}

TEST(TransferOptions, OneSwitchStoresItsOwnBitOnly) {
    ConfigImage image;
    image.setByte(0x3D, 0x00);
    image.setByte(0x36, 0x00);
    StoreTransferOption(image, TransferOption::ManualWrite, false);
    EXPECT_EQ(image.byte(0x3D), 0x10);  // "Manual Write Enable" unchecked sets bit 4
    StoreTransferOption(image, TransferOption::PasswordRequired, true);
    EXPECT_EQ(image.byte(0x36), 0x02);
    StoreTransferOption(image, TransferOption::FrequencyModification, false);
    StoreTransferOption(image, TransferOption::PasswordModification, true);
    EXPECT_EQ(image.byte(0x36), 0x07);
    StoreTransferOption(image, TransferOption::ManualWrite, true);
    EXPECT_EQ(TransferOptionsFromImage(image), (TransferOptions{true, false, true, true}));
    EXPECT_EQ(image.byte(0x3D), 0x00);
}

TEST(MenuItems, TheListNamesTheItemsThatAreOn) {
    ConfigImage image;
    image.fill(0x78, 7, 0x20);
    MenuItemsOff allOff;
    allOff.fill(true);
    EXPECT_EQ(MenuItemsOffFromImage(image), allOff);

    image.setByte(0x7B, 0x0B);  // "Auto Sleep" is on
    auto expected = allOff;
    expected[4] = false;
    EXPECT_EQ(MenuItemsOffFromImage(image), expected);

    // Codes that name no item change nothing.
    for (const std::uint8_t code : {0x00, 0x06, 0x0F, 0xFF}) {
        image.setByte(0x78, code);
        EXPECT_EQ(MenuItemsOffFromImage(image), expected) << int(code);
    }

    BuildDefaultImage(image);  // 07 08 09 0A 0C 0D 0E
    const MenuItemsOff autoSleepOff = {false, false, false, false, true, false, false, false};
    EXPECT_EQ(MenuItemsOffFromImage(image), autoSleepOff);
}

TEST(MenuItems, StoringRightAlignsTheCodesAndRefusesAFullList) {
    ConfigImage image;
    BuildDefaultImage(image);
    image.setByte(0x3D, 0x00);
    auto off = MenuItemsOffFromImage(image);
    off[2] = true;  // "Set Time Off" checked
    EXPECT_TRUE(StoreMenuItemsOff(image, off).ok);
    const std::array<std::uint8_t, 7> list = {0x20, 0x07, 0x08, 0x0A, 0x0C, 0x0D, 0x0E};
    for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(image.byte(0x78 + i), list[i]) << i;
    EXPECT_EQ(image.byte(0x3D), 0x20);  // the menu-list flag
    EXPECT_EQ(MenuItemsOffFromImage(image), off);

    MenuItemsOff allOn{};
    const ConfigImage before = image;
    const Outcome refused = StoreMenuItemsOff(image, allOn);
    EXPECT_FALSE(refused.ok);
    ASSERT_TRUE(refused.message);
    EXPECT_EQ(refused.message->key, "Msg42");
    EXPECT_EQ(refused.message->english, "You must disable one option !");
    EXPECT_EQ(image, before);

    MenuItemsOff allOff;
    allOff.fill(true);
    EXPECT_TRUE(StoreMenuItemsOff(image, allOff).ok);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(image.byte(0x78 + i), 0x20) << i;
}

TEST(MenuItems, SetAlertOnThePagersMenuPutsTheAlertToneBackToToneOne) {
    constexpr int kMusic2 = 5, kVibration = 12;
    const struct {
        const char* what;
        int tone;
        bool setAlertOff;
        std::uint8_t code, kind;
    } cases[] = {
        {"Music 2, Set Alert on", kMusic2, false, 0x01, 0},
        {"Vibration, Set Alert on", kVibration, false, 0x01, 0},
        {"Music 2, Set Alert off", kMusic2, true, 0x12, 0},
        {"Vibration, Set Alert off", kVibration, true, 0x20, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConfigImage image;
        BuildDefaultImage(image);
        StoreAlertTone(image, c.tone);
        auto off = MenuItemsOffFromImage(image);
        off[kSetAlertMenuItem] = c.setAlertOff;
        ASSERT_TRUE(StoreMenuItemsOff(image, off).ok);
        EXPECT_EQ(image.byte(kAlertToneOffset), c.code);
        EXPECT_EQ(image.byte(kAlertToneKindOffset), c.kind);
    }
}

TEST(ScreenContrast, OutOfRangeBytesShowAtTheNearerEnd) {
    EXPECT_EQ(ContrastSliderPosition(0), 1);
    for (int b = 1; b <= 8; ++b) {
        EXPECT_EQ(ContrastSliderPosition(static_cast<std::uint8_t>(b)), b);
        EXPECT_TRUE(ContrastByteInRange(static_cast<std::uint8_t>(b)));
    }
    EXPECT_EQ(ContrastSliderPosition(9), 8);
    EXPECT_EQ(ContrastSliderPosition(0xFF), 8);
    EXPECT_FALSE(ContrastByteInRange(0));
    EXPECT_FALSE(ContrastByteInRange(9));

    ConfigImage image;
    StoreContrast(image, 6);
    EXPECT_EQ(image.byte(0x89), 6);
    EXPECT_THROW(StoreContrast(image, 0), std::out_of_range);
    EXPECT_THROW(StoreContrast(image, 9), std::out_of_range);
    EXPECT_EQ(image.byte(0x89), 6);
}

}  // namespace
}  // namespace zrv
