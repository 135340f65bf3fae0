// Blowfish against published test vectors, and the stream encipherment of
// a finished command.
#include <gtest/gtest.h>

#include "ota/bit_stream.h"
#include "ota/blowfish.h"

namespace zrv::ota {
namespace {

struct Vector {
    std::uint64_t key, plain, cipher;
};

std::array<std::uint8_t, 8> KeyBytes(std::uint64_t k) {
    std::array<std::uint8_t, 8> key{};
    for (int i = 0; i < 8; ++i) key[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(k >> (56 - 8 * i));
    return key;
}

TEST(OtaBlowfish, ReproducesPublishedVectorsBothWays) {
    const Vector vectors[] = {
        {0x0000000000000000ull, 0x0000000000000000ull, 0x4EF997456198DD78ull},
        {0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFFFull, 0x51866FD5B85ECB8Aull},
        {0x3000000000000000ull, 0x1000000000000001ull, 0x7D856F9A613063F2ull},
        {0x0123456789ABCDEFull, 0x1111111111111111ull, 0x61F9C3802281B096ull},
    };
    for (const auto& v : vectors) {
        const auto key = KeyBytes(v.key);
        const Blowfish bf(key);
        std::uint32_t l = static_cast<std::uint32_t>(v.plain >> 32), r = static_cast<std::uint32_t>(v.plain);
        bf.Encipher(l, r);
        EXPECT_EQ((std::uint64_t{l} << 32) | r, v.cipher) << std::hex << v.key;
        bf.Decipher(l, r);
        EXPECT_EQ((std::uint64_t{l} << 32) | r, v.plain) << std::hex << v.key;
    }
}

TEST(OtaBlowfish, SecretSerialTextGivesTheKeyBytes) {
    EXPECT_EQ(KeyFromSecretSerial("0000000000000000"), KeyBytes(0));
    EXPECT_EQ(KeyFromSecretSerial("0123456789abcdef"), KeyBytes(0x0123456789ABCDEFull));
    // A non-hexadecimal pair and a missing tail give 0 bytes.
    EXPECT_EQ(KeyFromSecretSerial("0G2345678"), KeyBytes(0x0023456700000000ull));
    EXPECT_EQ(KeyFromSecretSerial(""), KeyBytes(0));
}

TEST(OtaBlowfish, StreamKeepsSerialInClearAndDeciphersBackWithFills) {
    BitStream plain;
    plain.AppendBits(0xA, 4);
    plain.AppendBits(0xBC, 8);
    plain.AppendBits(0xDE, 8);                              // serial ABCDE
    for (int i = 0; i < 30; ++i) plain.AppendBits(static_cast<unsigned>(i * 7), 8);  // 260 bits
    const auto key = KeyFromSecretSerial("0123456789ABCDEF");

    BitStream s = plain;
    EncipherStream(s, key);
    // 240 bits after the serial number take four blocks.
    EXPECT_EQ(s.count(), 20u + 4 * 64);
    EXPECT_EQ(s.ReadBits(0, 4), 0xA);
    EXPECT_EQ(s.ReadBits(4, 8), 0xBC);
    EXPECT_EQ(s.ReadBits(12, 8), 0xDE);
    bool differs = false;
    for (std::size_t b = 20; b < 260; b += 8) differs |= s.ReadBits(b, 8) != plain.ReadBits(b, 8);
    EXPECT_TRUE(differs);

    DecipherStream(s, key);
    for (std::size_t b = 0; b < s.count(); b += 8) ASSERT_EQ(s.ReadBits(b, 8), plain.ReadBits(b, 8)) << b;

    // The all-zero key of sixteen zero digits enciphers a zero block to the
    // published value.
    BitStream zero;
    for (int i = 0; i < 5; ++i) zero.AppendBits(0, 4);
    for (int i = 0; i < 8; ++i) zero.AppendBits(0, 8);
    EncipherStream(zero, KeyFromSecretSerial("0000000000000000"));
    EXPECT_EQ(zero.ToHex(), "000004EF997456198DD78");
}

}  // namespace
}  // namespace zrv::ota
