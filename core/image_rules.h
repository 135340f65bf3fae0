#pragma once
/// \file
/// Rules over the whole image: the table-file and image checksums, the
/// pager serial number and its sum, the model identity, and the values the
/// program forces after a load and on every refresh.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/image.h"

namespace zrv {

/// The model name: the caption of every message box and the first seven
/// characters of the identity text.
inline constexpr std::string_view kModelName = "ZR-V41K";
/// The identity text the default image writes (model, three spaces, version).
inline constexpr std::string_view kDefaultIdentityText = "ZR-V41K   V1.09";
/// The identity text a save writes (model, two spaces, version; 14 bytes).
inline constexpr std::string_view kSaveIdentityText = "ZR-V41K  V1.09";

/// Capcodes in use after start-up, every load and every read.
inline constexpr int kDefaultCapcodeCount = 16;

/// 16-bit sum of bytes 0x100..0x36C of \p bytes (a whole image or a file
/// buffer of at least 0x36D bytes; a shorter buffer sums what it has).
std::uint16_t TableChecksum(std::span<const std::uint8_t> bytes);
/// 16-bit sum of image bytes 0x100..0x36C.
std::uint16_t TableChecksum(const ConfigImage& image);
/// Stores TableChecksum at 0x7FE (high) / 0x7FF (low).
void StoreTableChecksum(ConfigImage& image);

/// 16-bit sum of bytes 0x000..0x7FD without the write marker 0x3E0: the
/// checksum the link stores before a write and checks after a read.
std::uint16_t ImageChecksum(std::span<const std::uint8_t> bytes);
std::uint16_t ImageChecksum(const ConfigImage& image);
/// Stores ImageChecksum at 0x7FE (high) / 0x7FF (low).
void StoreImageChecksum(ConfigImage& image);

/// True when the first seven identity bytes (0x3E1..0x3E7) of \p bytes read
/// "ZR-V41K". A buffer too short to hold them fails.
bool HasModelIdentity(std::span<const std::uint8_t> bytes);
/// Writes the 14-byte save identity "ZR-V41K  V1.09" to 0x3E1..0x3EE; 0x3EF
/// keeps its value.
void StampIdentityForSave(ConfigImage& image);
/// Writes the 15-byte default identity "ZR-V41K   V1.09" to 0x3E1..0x3EF.
void StampDefaultIdentity(ConfigImage& image);

/// 16-bit sum of the twelve serial-number bytes 0x4D6..0x4E1.
std::uint16_t SerialNumberSum(const ConfigImage& image);
/// True when 0x4E2 (high) / 0x4E3 (low) hold SerialNumberSum. (The window
/// shows the number whenever this holds; the link additionally refuses a
/// sum of 0, see SerialNumberValidForKeep.)
bool SerialNumberValid(const ConfigImage& image);
/// The link's stricter test of a pager's serial number: the sum matches and
/// is not 0 (a blank area of all 0x00 or all 0xFF is not a serial number).
bool SerialNumberValidForKeep(const ConfigImage& image);
/// The twelve serial-number bytes as they are stored (Windows-1252).
std::string PagerSerialNumber(const ConfigImage& image);
/// Stores the twelve characters of a scanned serial number at 0x4D6..0x4E1;
/// returns false and stores nothing unless \p serial has exactly 12 bytes.
/// The sum bytes are left alone: the write that follows recomputes them.
bool StorePagerSerialNumber(ConfigImage& image, std::string_view serial);
/// Recomputes the serial-number sum into 0x4E2 (high) / 0x4E3 (low).
void StoreSerialNumberSum(ConfigImage& image);

/// Zeroes the capcode slots \p capcodeCount..46 and the manual and
/// capcode-on bitmap bytes of the pages beyond the count; slot 47 is kept.
/// Nothing happens for 48. A count outside 0..48 is clamped to a multiple of
/// 8 within it first.
void ClearUnusedCapcodes(ConfigImage& image, int capcodeCount);

/// The values forced after a table file was copied into the image; sets
/// 0x1246 and \p capcodeCount to 16.
void NormaliseAfterLoad(ConfigImage& image, int& capcodeCount);

/// The two values every refresh of the main window forces: 0x457 bit 7 = 0
/// and 0x4F8 = 0x29.
void ApplyRefreshForcedValues(ConfigImage& image);

}  // namespace zrv
