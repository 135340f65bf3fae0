// The capcode group and the function bit window: the capcode box's filter
// and exit check, the slot's boxes by page, the function-bit stores, what
// the window's combos show and the slot's summaries.
#include <gtest/gtest.h>

#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "core/default_image.h"

namespace zrv {
namespace {

void ExpectRefusedWith(const Outcome& outcome, const char* key, const char* english) {
    EXPECT_FALSE(outcome.ok);
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->key, key);
    EXPECT_EQ(outcome.message->english, english);
    EXPECT_EQ(outcome.message->icon, MsgIcon::Exclamation);
    EXPECT_EQ(outcome.message->boxCaption(), "ZR-V41K");
}

constexpr const char* kMsg47 = "Please insert a numeric !";
constexpr const char* kMsg48 = "Please insert a number between 0000007 to 2097151 !";

TEST(CapcodeBox, FortyTwoIsStoredTimesEightAndShownInSevenDigits) {
    ConfigImage image = StartupImage();
    const Outcome o = StoreCapcodeText(image, 3, "42");
    EXPECT_TRUE(o.ok);
    EXPECT_FALSE(o.message.has_value());
    EXPECT_EQ(image.byte(0x1289), 0x00);
    EXPECT_EQ(image.byte(0x128A), 0x01);
    EXPECT_EQ(image.byte(0x128B), 0x50);
    EXPECT_EQ(CapcodeText(image, 3), "0000042");
    ASSERT_TRUE(StoreCapcodeText(image, 3, "0012345").ok);  // leading zeros as the box shows them
    EXPECT_EQ(CapcodeText(image, 3), "0012345");
}

TEST(CapcodeBox, RangeLimitsAreSevenAnd2097151) {
    ConfigImage image = StartupImage();
    ASSERT_TRUE(StoreCapcodeText(image, 0, "7").ok);
    EXPECT_EQ(CapcodeText(image, 0), "0000007");
    ASSERT_TRUE(StoreCapcodeText(image, 0, "2097151").ok);
    EXPECT_EQ(CapcodeText(image, 0), "2097151");
    const ConfigImage before = image;
    for (const char* text : {"6", "0", "0000000", "2097152", "99999999", "123456789012345678901234"}) {
        ExpectRefusedWith(StoreCapcodeText(image, 0, text), "Msg48", kMsg48);
        EXPECT_EQ(image, before) << text;
        EXPECT_EQ(CapcodeText(image, 0), "2097151") << text;
    }
}

TEST(CapcodeBox, TextThatIsNotANumberIsRefusedWithMsg47) {
    ConfigImage image = StartupImage();
    const ConfigImage before = image;
    for (const char* text : {"12a", "-42", "+42", " 42", "42 ", "4.2", "0x2A", "４２"}) {
        ExpectRefusedWith(StoreCapcodeText(image, 1, text), "Msg47", kMsg47);
        EXPECT_EQ(image, before) << text;
    }
    EXPECT_EQ(CapcodeText(image, 1), "1234560");
}

TEST(CapcodeBox, EmptyTextKeepsTheStoredCapcodeWithoutAMessage) {
    ConfigImage image = StartupImage();
    const ConfigImage before = image;
    const Outcome o = StoreCapcodeText(image, 0, "");
    EXPECT_FALSE(o.ok);
    EXPECT_FALSE(o.message.has_value());
    EXPECT_EQ(image, before);
    EXPECT_EQ(CapcodeText(image, 0), "1234567");
}

TEST(CapcodeBox, KeystrokeFilterPassesDigitsAndControlCharacters) {
    for (const char32_t ch : {U'0', U'9', U'\b', U'\r', char32_t{0x16}}) EXPECT_TRUE(CheckCapcodeKey(ch).ok) << int(ch);
    for (const char32_t ch : {U'a', U' ', U'-', U'/', U':', U'\x7F', U'\u0660'})
        ExpectRefusedWith(CheckCapcodeKey(ch), "Msg47", kMsg47);
}

TEST(CapcodeBox, StoredValueComesFromTheSlotOnly) {
    ConfigImage image = StartupImage();
    const ConfigImage before = image;
    ASSERT_TRUE(StoreCapcodeText(image, 47, "2097151").ok);
    for (std::size_t o = 0; o < kImageSize; ++o) {
        if (o >= 0x130D && o <= 0x130F) continue;  // the last slot
        ASSERT_EQ(image.byte(o), before.byte(o)) << std::hex << o;
    }
    EXPECT_EQ(CapcodeText(image, 47), "2097151");
    EXPECT_THROW(StoreCapcodeText(image, 48, "42"), std::out_of_range);
    EXPECT_THROW(StoreCapcodeText(image, -1, ""), std::out_of_range);
}

TEST(CapcodeSlots, SecondPageSlotZeroIsCapcodeNine) {
    ConfigImage image = StartupImage();
    const int n = CapcodeNumber(1, 0);
    EXPECT_EQ(n, 8);
    ASSERT_TRUE(StoreCapcodeText(image, n, "42").ok);
    EXPECT_EQ(image.byte(0x1298), 0x00);
    EXPECT_EQ(image.byte(0x1299), 0x01);
    EXPECT_EQ(image.byte(0x129A), 0x50);
    StoreCapcodeOnBox(image, 1, 0, true);
    EXPECT_EQ(image.byte(0x123E), 0x80);
    EXPECT_EQ(image.byte(0x123D), 0x80);  // capcode 1 stays on
    StoreCapcodeManualBox(image, 1, 0, true);
    EXPECT_EQ(image.byte(0x1236), 0x80);
    StoreFunctionBitDisplay(image, n, 0, 4);
    StoreFunctionBitDisplay(image, n, 3, 0);
    EXPECT_EQ(image.byte(0x14F0), 4);
    EXPECT_EQ(image.byte(0x14F3), 0);
    StoreFunctionBitType(image, n, 0, 15);
    StoreFunctionBitType(image, n, 3, kGroupTypeItem);
    EXPECT_EQ(image.byte(0x1410), 15);
    EXPECT_EQ(image.byte(0x1413), 0xFF);
    EXPECT_EQ(DisplaySummary(image, n), "TAAN");
    EXPECT_EQ(TypeSummary(image, n), "FPPG");
}

TEST(CapcodeSlots, OnAndManualBoxesFollowTheCheckStatePerSlot) {
    ConfigImage image = StartupImage();
    StoreCapcodeOnBox(image, 0, 0, false);
    EXPECT_EQ(image.byte(0x123D), 0x00);
    StoreCapcodeOnBox(image, 5, 7, true);  // capcode 48
    EXPECT_EQ(image.byte(0x1242), 0x01);
    EXPECT_TRUE(CapcodeOn(image, 47));
    StoreCapcodeManualBox(image, 0, 2, true);
    StoreCapcodeManualBox(image, 0, 5, true);
    EXPECT_EQ(image.byte(0x1235), 0x24);
    StoreCapcodeManualBox(image, 0, 2, false);
    EXPECT_EQ(image.byte(0x1235), 0x04);
    EXPECT_THROW(StoreCapcodeOnBox(image, 6, 0, true), std::out_of_range);
    EXPECT_THROW(StoreCapcodeManualBox(image, 0, 8, true), std::out_of_range);
}

TEST(FunctionBits, PriorityFlagsOfNeighbouringCapcodesShowApart) {
    ConfigImage image = StartupImage();
    EXPECT_EQ(PrioritySummary(image, 1), "----");
    SetPriorityAlert(image, 1, 0, true);   // capcode 2, A: bit 3 of 0x1215
    SetPriorityAlert(image, 1, 3, true);   // capcode 2, D: bit 0
    SetPriorityAlert(image, 2, 1, true);   // capcode 3, B: bit 6 of 0x1216
    EXPECT_EQ(image.byte(0x1215), 0x09);
    EXPECT_EQ(image.byte(0x1216), 0x40);
    EXPECT_EQ(PrioritySummary(image, 0), "----");
    EXPECT_EQ(PrioritySummary(image, 1), "v--v");
    EXPECT_EQ(PrioritySummary(image, 2), "-v--");
}

TEST(FunctionBits, DefaultImageShowsAlphaPersonalForEveryCapcode) {
    const ConfigImage image = StartupImage();
    for (int n = 0; n < 48; ++n) {
        EXPECT_EQ(DisplaySummary(image, n), "AAAA") << n;
        EXPECT_EQ(TypeSummary(image, n), "PPPP") << n;
        for (int f = 0; f < 4; ++f) {
            EXPECT_EQ(FunctionBitDisplayItem(image, n, f), 2) << n;
            EXPECT_EQ(FunctionBitTypeItem(image, n, f), 0) << n;
        }
    }
}

TEST(FunctionBits, EveryItemStoresAndShowsItselfAgain) {
    ConfigImage image = StartupImage();
    for (const int n : {0, 7, 8, 47}) {
        for (int item = 0; item < 6; ++item) {
            StoreFunctionBitDisplay(image, n, 2, item);
            EXPECT_EQ(image.byte(DisplayCodeOffset(n, 2)), item);
            EXPECT_EQ(FunctionBitDisplayItem(image, n, 2), item);
        }
        for (int item = 0; item < 17; ++item) {
            StoreFunctionBitType(image, n, 1, item);
            EXPECT_EQ(image.byte(MessageTypeOffset(n, 1)), item == 16 ? 0xFF : item);
            EXPECT_EQ(FunctionBitTypeItem(image, n, 1), item);
        }
    }
    EXPECT_EQ(image.byte(0x370 + 1), 0xFF);    // capcode 1, B, low area
    EXPECT_EQ(image.byte(0x1410 + 4 * 39 + 1), 0xFF);  // capcode 48, B, high area
    const ConfigImage before = image;
    EXPECT_THROW(StoreFunctionBitDisplay(image, 0, 0, 6), std::out_of_range);
    EXPECT_THROW(StoreFunctionBitType(image, 0, 0, 17), std::out_of_range);
    EXPECT_THROW(StoreFunctionBitType(image, 0, 4, 0), std::out_of_range);
    EXPECT_THROW(StoreFunctionBitDisplay(image, 48, 0, 0), std::out_of_range);
    EXPECT_EQ(image, before);
}

TEST(FunctionBits, UntrustedCodesShowSafely) {
    ConfigImage image = StartupImage();
    const int n = 9;
    image.setByte(DisplayCodeOffset(n, 0), 5);
    image.setByte(DisplayCodeOffset(n, 1), 6);
    image.setByte(DisplayCodeOffset(n, 2), 0xFF);
    image.setByte(DisplayCodeOffset(n, 3), 1);
    EXPECT_EQ(DisplaySummary(image, n), "---P");
    EXPECT_EQ(FunctionBitDisplayItem(image, n, 0), 5);  // "Disable"
    EXPECT_EQ(FunctionBitDisplayItem(image, n, 1), std::nullopt);
    EXPECT_EQ(FunctionBitDisplayItem(image, n, 2), std::nullopt);

    image.setByte(MessageTypeOffset(n, 0), 0xFF);
    image.setByte(MessageTypeOffset(n, 1), 16);
    image.setByte(MessageTypeOffset(n, 2), 0xAB);
    image.setByte(MessageTypeOffset(n, 3), 10);
    EXPECT_EQ(TypeSummary(image, n), "G10ABA");
    EXPECT_EQ(FunctionBitTypeItem(image, n, 0), kGroupTypeItem);
    EXPECT_EQ(FunctionBitTypeItem(image, n, 1), std::nullopt);
    EXPECT_EQ(FunctionBitTypeItem(image, n, 2), std::nullopt);
    EXPECT_EQ(FunctionBitTypeItem(image, n, 3), 10);
}

TEST(FunctionBits, StoringBackWhatTheWindowShowsChangesNothing) {
    ConfigImage image = StartupImage();
    const ConfigImage before = image;
    for (int n = 0; n < 48; ++n) {
        for (int f = 0; f < 4; ++f) {
            StoreFunctionBitDisplay(image, n, f, *FunctionBitDisplayItem(image, n, f));
            StoreFunctionBitType(image, n, f, *FunctionBitTypeItem(image, n, f));
        }
        ASSERT_TRUE(StoreCapcodeText(image, n, CapcodeText(image, n)).ok || CapcodeAt(image, n) < 7);
    }
    EXPECT_EQ(image, before);
}

}  // namespace
}  // namespace zrv
