#include <gtest/gtest.h>

#include "core/capcodes.h"

namespace zrv {
namespace {

TEST(Capcodes, ValueIsStoredTimesEightBigEndian) {
    ConfigImage image;
    SetCapcode(image, 0, 42);
    EXPECT_EQ(image.byte(0x1280), 0x00);
    EXPECT_EQ(image.byte(0x1281), 0x01);
    EXPECT_EQ(image.byte(0x1282), 0x50);
    EXPECT_EQ(CapcodeAt(image, 0), 42u);
    SetCapcode(image, 47, kMaxCapcode);
    EXPECT_EQ(image.byte(0x130D), 0xFF);
    EXPECT_EQ(image.byte(0x130F), 0xF8);
    EXPECT_EQ(CapcodeAt(image, 47), kMaxCapcode);
    EXPECT_THROW(SetCapcode(image, 48, 1), std::out_of_range);
    EXPECT_THROW(CapcodeAt(image, -1), std::out_of_range);
}

TEST(Capcodes, RangeLimits) {
    EXPECT_TRUE(CapcodeInRange(7));
    EXPECT_TRUE(CapcodeInRange(2097151));
    EXPECT_FALSE(CapcodeInRange(6));
    EXPECT_FALSE(CapcodeInRange(2097152));
    EXPECT_EQ(ParseCapcodeText("0012345"), 12345u);
    EXPECT_FALSE(ParseCapcodeText(""));
    EXPECT_FALSE(ParseCapcodeText("12a"));
    EXPECT_FALSE(ParseCapcodeText("-7"));
}

TEST(Capcodes, CapcodeNineSitsOnPageOne) {
    ConfigImage image;
    const int n = 8;  // capcode 9
    EXPECT_EQ(CapcodeSlotOffset(n), 0x1298u);
    SetCapcodeOn(image, n, true);
    EXPECT_EQ(image.byte(0x123E), 0x80);
    SetCapcodeManual(image, n, true);
    EXPECT_EQ(image.byte(0x1236), 0x80);
    EXPECT_EQ(DisplayCodeOffset(n, 0), 0x14F0u);
    EXPECT_EQ(DisplayCodeOffset(n, 3), 0x14F3u);
    EXPECT_EQ(MessageTypeOffset(n, 0), 0x1410u);
    EXPECT_EQ(MessageTypeOffset(7, 3), 0x38Fu);
    EXPECT_EQ(DisplayCodeOffset(0, 0), 0x390u);
    EXPECT_EQ(MessageTypeOffset(47, 3), 0x14AFu);
    EXPECT_EQ(DisplayCodeOffset(47, 3), 0x158Fu);
    SetCapcodeOn(image, n, false);
    EXPECT_EQ(image.byte(0x123E), 0x00);
    EXPECT_TRUE(CapcodeManual(image, n));
}

TEST(Capcodes, PriorityFlagsShareOneByteBetweenTwoCapcodes) {
    ConfigImage image;
    SetPriorityAlert(image, 1, 0, true);  // capcode 2, A: bit 3 of 0x1215
    SetPriorityAlert(image, 1, 3, true);  // capcode 2, D: bit 0
    EXPECT_EQ(image.byte(0x1215), 0x09);
    SetPriorityAlert(image, 2, 0, true);  // capcode 3, A: bit 7 of 0x1216
    EXPECT_EQ(image.byte(0x1216), 0x80);
    EXPECT_TRUE(PriorityAlert(image, 1, 3));
    EXPECT_FALSE(PriorityAlert(image, 0, 3));
    EXPECT_THROW(PriorityAlert(image, 0, 4), std::out_of_range);
}

TEST(Capcodes, SummaryLetters) {
    EXPECT_EQ(DisplayCodeLetter(0), 'N');
    EXPECT_EQ(DisplayCodeLetter(2), 'A');
    EXPECT_EQ(DisplayCodeLetter(4), 'T');
    EXPECT_EQ(DisplayCodeLetter(5), '-');
    EXPECT_EQ(DisplayCodeLetter(200), '-');
    EXPECT_EQ(MessageTypeLetters(0), "P");
    EXPECT_EQ(MessageTypeLetters(0xFF), "G");
    EXPECT_EQ(MessageTypeLetters(0x0F), "F");
    EXPECT_EQ(MessageTypeLetters(0x1F), "1F");
}

}  // namespace
}  // namespace zrv
