#pragma once
/// \file
/// The OTA bit stream: the buffer in which an OTA command is composed bit by
/// bit, most significant bit of each byte first.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zrv::ota {

/// Room of the stream: 1000 bytes, far more than the longest command needs.
inline constexpr std::size_t kStreamBytes = 1000;
inline constexpr std::size_t kStreamBits = kStreamBytes * 8;

/// An OTA command under construction. Bit i sits in byte i / 8 at bit
/// position 7 - (i mod 8). Bits past the count read as 0 because every
/// command starts from a zeroed buffer.
class BitStream {
public:
    BitStream() { Clear(); }

    /// Zeroes the whole buffer and sets the count to 0.
    void Clear();
    /// Appends the \p n (1..8) low bits of \p value, most significant first.
    /// Throws std::length_error when the stream would outgrow its buffer.
    void AppendBits(unsigned value, int n);
    /// The \p n (1..8) bits starting at bit \p offset, most significant first;
    /// bits past the buffer read as 0.
    std::uint8_t ReadBits(std::size_t offset, int n) const;

    /// Number of bits written so far.
    std::size_t count() const { return count_; }
    /// Moves the write position (used when enciphering in place).
    void setCount(std::size_t count);

    /// The data string: count / 4 upper-case hexadecimal digits in stream order.
    std::string ToHex() const;

    const std::array<std::uint8_t, kStreamBytes>& bytes() const { return bytes_; }

private:
    std::array<std::uint8_t, kStreamBytes> bytes_{};
    std::size_t count_ = 0;
};

/// Turns 0..99 into the byte whose two hexadecimal digits are the decimal
/// digits of \p v (12 -> 0x12). Larger values give the decimal digits read as
/// hexadecimal (255 -> 0x255); callers cut them to their field width.
unsigned ToBcd(unsigned v);

/// Two upper-case hexadecimal digits of \p value.
std::string Hex2(unsigned value);

}  // namespace zrv::ota
