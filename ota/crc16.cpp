#include "ota/crc16.h"

#include <vector>

#include "ota/bit_stream.h"

namespace zrv::ota {

namespace {
/// The first bit the CRC covers: the public serial number before it stays out.
constexpr std::size_t kCrcStartBit = 20;
}  // namespace

std::uint16_t Crc16Kermit(std::span<const std::uint8_t> data) {
    std::uint16_t crc = 0;
    for (std::uint8_t byte : data) {
        for (int k = 0; k < 8; ++k) {
            const unsigned t = (crc ^ (byte >> k)) & 1u;
            crc = static_cast<std::uint16_t>(crc >> 1);
            if (t) crc ^= 0x8408;
        }
    }
    return crc;
}

std::uint16_t CommandCrc(const BitStream& stream) {
    std::vector<std::uint8_t> covered;
    const std::size_t n = stream.count();
    for (std::size_t bit = kCrcStartBit; bit < n; bit += 8) covered.push_back(stream.ReadBits(bit, 8));
    return Crc16Kermit(covered);
}

}  // namespace zrv::ota
