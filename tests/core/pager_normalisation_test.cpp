// What the program puts right in an image around a transfer with the pager,
// checked byte for byte over whole images of several fillings: the named
// bytes and bits take their values, every other byte stays as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "core/image_rules.h"
#include "core/pager_normalisation.h"

namespace zrv {
namespace {

// One changed byte: new value = (old & keep) | set.
struct ByteChange {
    std::uint8_t keep;
    std::uint8_t set;
};
using Changes = std::map<std::size_t, ByteChange>;

ConfigImage Filled(int pattern) {
    ConfigImage image;
    for (std::size_t a = 0; a < kImageSize; ++a) {
        const auto mixed = static_cast<std::uint8_t>((a * 37 + (a >> 8) * 11) & 0xFF);
        image.setByte(a, pattern == 0 ? 0x00 : pattern == 1 ? 0xFF : mixed);
    }
    return image;
}

// Every byte of \p after is \p before changed as \p changes says and no other.
void ExpectOnly(const ConfigImage& before, const ConfigImage& after, const Changes& changes) {
    for (std::size_t a = 0; a < kImageSize; ++a) {
        const auto it = changes.find(a);
        const std::uint8_t want = it == changes.end()
                                      ? before.byte(a)
                                      : static_cast<std::uint8_t>((before.byte(a) & it->second.keep) | it->second.set);
        ASSERT_EQ(after.byte(a), want) << "address 0x" << std::hex << a;
    }
}

TEST(PagerNormalisation, ReadAndWriteChangeExactlyTheirBytes) {
    const Changes afterRead = {
        {0x4A1, {0x79, 0x81}},  // bits 0 and 7 set, bits 1 and 2 cleared
        {0x458, {0xFB, 0x00}},  // bit 2 cleared: capcode music types on
        {0x031, {0xFF, 0x40}},  // bit 6 set
        {0x07F, {0xFE, 0x00}},  // bit 0 cleared
        {0x520, {0x00, 0x96}},
        {0x1246, {0x00, 0x10}},  // sixteen capcodes in use
    };
    const Changes beforeWrite = {
        {0x530, {0x00, 0x00}},
        {0x531, {0x00, 0x00}},
        {0x4A1, {0xFF, 0x01}},  // the one-line logo
    };
    for (int pattern : {0, 1, 2}) {
        SCOPED_TRACE(pattern);
        const ConfigImage before = Filled(pattern);
        ConfigImage read = before;
        int capcodeCount = 48;
        NormaliseAfterRead(read, capcodeCount);
        EXPECT_EQ(capcodeCount, 16);
        ExpectOnly(before, read, afterRead);

        ConfigImage write = before;
        PrepareForWrite(write);
        ExpectOnly(before, write, beforeWrite);

        ConfigImage sealed = before;
        SealForWrite(sealed);
        EXPECT_EQ(sealed.byte(0x3E0), 1);
        EXPECT_EQ(sealed.word(0x7FE), ImageChecksum(sealed));
        ExpectOnly(before, sealed,
                   {{0x3E0, {0, 1}}, {0x7FE, {0, sealed.byte(0x7FE)}}, {0x7FF, {0, sealed.byte(0x7FF)}}});
    }
}

TEST(PagerNormalisation, AWriteKeepsThePagersSerialOrRepairsABrokenOne) {
    const ConfigImage image = Filled(2);
    const std::string good = "SN1234567890";
    ConfigImage pager = Filled(0);
    ASSERT_TRUE(StorePagerSerialNumber(pager, good));
    StoreSerialNumberSum(pager);
    ConfigImage kept = image;
    TakeSerialFromPager(kept, pager);
    Changes serialBytes;
    for (std::size_t a = 0x4D6; a <= 0x4E3; ++a) serialBytes[a] = {0, pager.byte(a)};
    ExpectOnly(image, kept, serialBytes);
    EXPECT_EQ(PagerSerialNumber(kept), good);

    // A blank pager area (sum 0) and a wrong sum are no serial number to keep.
    ConfigImage wrongSum = pager;
    wrongSum.setByte(0x4E3, static_cast<std::uint8_t>(wrongSum.byte(0x4E3) + 1));
    for (const ConfigImage& broken : {Filled(0), wrongSum}) {
        ConfigImage repaired = image;
        TakeSerialFromPager(repaired, broken);
        EXPECT_EQ(PagerSerialNumber(repaired), "Qant0000000 ");
        EXPECT_TRUE(SerialNumberValid(repaired));
        ExpectOnly(image, repaired,
                   {{0x4D6, {0, 'Q'}}, {0x4D7, {0, 'a'}}, {0x4D8, {0, 'n'}}, {0x4D9, {0, 't'}},
                    {0x4DA, {0, '0'}}, {0x4DB, {0, '0'}}, {0x4DC, {0, '0'}}, {0x4DD, {0, '0'}},
                    {0x4DE, {0, '0'}}, {0x4DF, {0, '0'}}, {0x4E0, {0, '0'}}, {0x4E1, {0, ' '}},
                    {0x4E2, {0, repaired.byte(0x4E2)}}, {0x4E3, {0, repaired.byte(0x4E3)}}});
    }
}

}  // namespace
}  // namespace zrv
