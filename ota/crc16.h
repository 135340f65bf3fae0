#pragma once
/// \file
/// CRC-16/KERMIT, the check word that closes every OTA command.

#include <cstdint>
#include <span>

namespace zrv::ota {

class BitStream;

/// CRC-16/KERMIT of \p data: polynomial 0x1021 bit-reflected (0x8408),
/// initial value 0, no final XOR, each byte fed least significant bit first.
std::uint16_t Crc16Kermit(std::span<const std::uint8_t> data);

/// The command CRC: over the bits from offset 20 (after the first serial
/// number) to the count, rounded up to whole bytes with the zero bits after it.
std::uint16_t CommandCrc(const BitStream& stream);

}  // namespace zrv::ota
