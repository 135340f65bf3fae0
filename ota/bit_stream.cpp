#include "ota/bit_stream.h"

#include <stdexcept>

namespace zrv::ota {

void BitStream::Clear() {
    bytes_.fill(0);
    count_ = 0;
}

void BitStream::AppendBits(unsigned value, int n) {
    if (n < 1 || n > 8) throw std::invalid_argument("AppendBits: width must be 1..8");
    if (count_ + static_cast<std::size_t>(n) > kStreamBits)
        throw std::length_error("OTA bit stream full");
    for (int k = n - 1; k >= 0; --k) {
        const unsigned bit = (value >> k) & 1u;
        const std::size_t byte = count_ / 8;
        const int pos = 7 - static_cast<int>(count_ % 8);
        if (bit)
            bytes_[byte] = static_cast<std::uint8_t>(bytes_[byte] | (1u << pos));
        else
            bytes_[byte] = static_cast<std::uint8_t>(bytes_[byte] & ~(1u << pos));
        ++count_;
    }
}

std::uint8_t BitStream::ReadBits(std::size_t offset, int n) const {
    if (n < 1 || n > 8) throw std::invalid_argument("ReadBits: width must be 1..8");
    unsigned v = 0;
    for (int k = 0; k < n; ++k) {
        const std::size_t i = offset + static_cast<std::size_t>(k);
        unsigned bit = 0;
        if (i < kStreamBits) bit = (bytes_[i / 8] >> (7 - i % 8)) & 1u;
        v = (v << 1) | bit;
    }
    return static_cast<std::uint8_t>(v);
}

void BitStream::setCount(std::size_t count) {
    if (count > kStreamBits) throw std::length_error("OTA bit stream full");
    count_ = count;
}

std::string BitStream::ToHex() const {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(count_ / 4);
    for (std::size_t i = 0; i + 4 <= count_; i += 4) out += digits[ReadBits(i, 4)];
    return out;
}

unsigned ToBcd(unsigned v) {
    // The decimal digits of v read back as hexadecimal digits.
    unsigned result = 0;
    unsigned shift = 0;
    do {
        result |= (v % 10) << shift;
        shift += 4;
        v /= 10;
    } while (v != 0 && shift < 32);
    return result;
}

std::string Hex2(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 0xF], digits[value & 0xF]};
}

}  // namespace zrv::ota
