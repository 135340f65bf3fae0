#pragma once
/// \file
/// Blowfish (64-bit blocks, 16 rounds, ECB) and the enciphering of a finished
/// OTA command with the pager's secret serial number as the key.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zrv::ota {

class BitStream;

/// One keyed Blowfish state: P-array and S-boxes after the key expansion.
class Blowfish {
public:
    /// Expands \p key (1..56 bytes; an empty key counts as one zero byte).
    explicit Blowfish(std::span<const std::uint8_t> key);

    /// Enciphers the block (left half \p l, right half \p r) in place.
    void Encipher(std::uint32_t& l, std::uint32_t& r) const;
    /// Reverses Encipher.
    void Decipher(std::uint32_t& l, std::uint32_t& r) const;

private:
    std::uint32_t F(std::uint32_t x) const;
    std::array<std::uint32_t, 18> p_;
    std::array<std::array<std::uint32_t, 256>, 4> s_;
};

/// The 8 key bytes of a secret serial number text: byte i is characters
/// 2i+1 and 2i+2 read as hexadecimal; a missing or non-hexadecimal pair gives 0.
std::array<std::uint8_t, 8> KeyFromSecretSerial(const std::string& text);

/// Enciphers \p stream in place from bit 20 on, block by block; afterwards
/// the count is 20 plus 64 times the number of blocks. The public serial
/// number in bits 0..19 stays in clear.
void EncipherStream(BitStream& stream, const std::array<std::uint8_t, 8>& key);

/// Deciphers what EncipherStream produced, in place (count unchanged).
void DecipherStream(BitStream& stream, const std::array<std::uint8_t, 8>& key);

}  // namespace zrv::ota
