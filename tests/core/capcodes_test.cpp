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

TEST(Capcodes, BoxCheckTakesSevenTo2097151AndRefusesWithMsg48) {
    for (const std::uint64_t good : {std::uint64_t{7}, std::uint64_t{2097151}}) {
        const Outcome o = CheckCapcodeValue(good);
        EXPECT_TRUE(o.ok) << good;
        EXPECT_FALSE(o.message) << good;
    }
    for (const std::uint64_t bad :
         {std::uint64_t{0}, std::uint64_t{6}, std::uint64_t{2097152}, ~std::uint64_t{0}}) {
        const Outcome o = CheckCapcodeValue(bad);
        EXPECT_FALSE(o.ok) << bad;
        ASSERT_TRUE(o.message) << bad;
        EXPECT_EQ(*o.message, CapcodeRangeMessage());
        EXPECT_EQ(o.message->key, "Msg48");
        EXPECT_EQ(o.message->english, "Please insert a number between 0000007 to 2097151 !");
    }
}

TEST(Capcodes, RaisingStopsAtTheTopAndGoesThroughTheBoxCheck) {
    ConfigImage image;
    SetCapcode(image, 9, 2097150);
    EXPECT_TRUE(RaiseCapcode(image, 9, 1).ok);
    EXPECT_EQ(CapcodeAt(image, 9), 2097151u);

    const Outcome top = RaiseCapcode(image, 9, 1);
    EXPECT_FALSE(top.ok);
    ASSERT_TRUE(top.message);
    EXPECT_EQ(top.message->key, "Msg25");
    EXPECT_EQ(top.message->english, "Capcode 2 > 2097151 so can not be increase!");
    EXPECT_EQ(top.message->args, std::vector<std::string>{"2"});
    EXPECT_EQ(CapcodeAt(image, 9), 2097151u);

    SetCapcode(image, 0, 6);
    EXPECT_TRUE(RaiseCapcode(image, 0, 0).ok);
    EXPECT_EQ(CapcodeAt(image, 0), 7u);
    SetCapcode(image, 1, 0);  // a blank slot is not raised to 1
    const Outcome blank = RaiseCapcode(image, 1, 1);
    EXPECT_FALSE(blank.ok);
    ASSERT_TRUE(blank.message);
    EXPECT_EQ(blank.message->key, "Msg48");
    EXPECT_EQ(CapcodeAt(image, 1), 0u);
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
