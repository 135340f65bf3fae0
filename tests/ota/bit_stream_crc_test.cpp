// The bit stream, BCD conversion and the command CRC.
#include <gtest/gtest.h>

#include <string>

#include "ota/bit_stream.h"
#include "ota/crc16.h"

namespace zrv::ota {
namespace {

TEST(OtaBitStream, FillsEachByteFromItsMostSignificantBitAndCutsWideValues) {
    BitStream s;
    s.AppendBits(0x5, 3);    // 101
    s.AppendBits(0x1FF, 5);  // cut to 11111
    s.AppendBits(0x2, 2);    // 10
    ASSERT_EQ(s.count(), 10u);
    EXPECT_EQ(s.bytes()[0], 0xBF);
    EXPECT_EQ(s.bytes()[1], 0x80);
    EXPECT_EQ(s.ReadBits(0, 3), 0x5);
    EXPECT_EQ(s.ReadBits(3, 5), 0x1F);
    EXPECT_EQ(s.ReadBits(6, 4), 0xE);  // across the byte boundary
    EXPECT_EQ(s.ReadBits(10, 8), 0);   // past the count: zero
    EXPECT_EQ(s.ReadBits(kStreamBits - 2, 8), 0);  // past the buffer: zero, no overrun
}

TEST(OtaBitStream, ClearZeroesEverythingAndDataStringHasOneDigitPerNibble) {
    BitStream s;
    for (int i = 0; i < 4; ++i) s.AppendBits(0xA5, 8);
    s.AppendBits(0x3, 3);
    EXPECT_EQ(s.ToHex(), "A5A5A5A5");  // 35 bits: the last 3 make no digit
    s.Clear();
    EXPECT_EQ(s.count(), 0u);
    EXPECT_EQ(s.ReadBits(0, 8), 0);
    EXPECT_EQ(s.ToHex(), "");
}

TEST(OtaBitStream, RefusesToGrowPastItsBuffer) {
    BitStream s;
    for (std::size_t i = 0; i < kStreamBytes; ++i) s.AppendBits(0xFF, 8);
    EXPECT_THROW(s.AppendBits(1, 1), std::length_error);
    EXPECT_EQ(s.count(), kStreamBits);
}

TEST(OtaBcd, DecimalDigitsBecomeHexadecimalDigits) {
    EXPECT_EQ(ToBcd(12), 0x12u);
    EXPECT_EQ(ToBcd(7), 0x07u);
    EXPECT_EQ(ToBcd(0), 0x00u);
    EXPECT_EQ(ToBcd(99), 0x99u);
    EXPECT_EQ(ToBcd(255) & 0xFF, 0x55u);  // a package number past 99 keeps its last two digits
    EXPECT_EQ(ToBcd(2014), 0x2014u);
}

TEST(OtaCrc, KermitCheckValue) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc16Kermit({reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()}), 0x2189);
}

TEST(OtaCrc, CoversTheBitsAfterTheFirstSerialNumberOnly) {
    BitStream a;
    a.AppendBits(0xF, 4);  // 20 bits of serial number
    a.AppendBits(0xFF, 8);
    a.AppendBits(0xFF, 8);
    for (char c : std::string("123456789")) a.AppendBits(static_cast<unsigned>(c), 8);
    // Bits 20.. are exactly "123456789" as bytes.
    EXPECT_EQ(CommandCrc(a), 0x2189);

    BitStream b = a;  // same payload, other serial number
    b.Clear();
    b.AppendBits(0x1, 4);
    b.AppendBits(0x23, 8);
    b.AppendBits(0x45, 8);
    for (char c : std::string("123456789")) b.AppendBits(static_cast<unsigned>(c), 8);
    EXPECT_EQ(CommandCrc(b), 0x2189);

    // A stream that ends off a byte boundary is rounded up with zero bits.
    BitStream c;
    for (int i = 0; i < 5; ++i) c.AppendBits(0, 4);
    c.AppendBits(0x31, 8);
    c.AppendBits(0x1, 1);  // 1 -> byte 0x80
    const std::uint8_t bytes[] = {0x31, 0x80};
    EXPECT_EQ(CommandCrc(c), Crc16Kermit(bytes));
}

}  // namespace
}  // namespace zrv::ota
