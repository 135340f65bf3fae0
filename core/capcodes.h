#pragma once
/// \file
/// The capcodes of the image: 48 slots of three bytes holding capcode x 8
/// (big-endian), the ON and Manual bitmaps (one byte per page of eight, bit
/// 7 - slot), and the per-function-bit priority, display and type bytes.
/// Capcode numbers \c n are 0..47 (shown as 1..48); function bits \c f are
/// 0..3 (A..D). An n or f out of range throws std::out_of_range.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

/// The valid capcode range of a capcode box.
inline constexpr std::uint32_t kMinCapcode = 7;
inline constexpr std::uint32_t kMaxCapcode = 2097151;  ///< 21 bits

/// Message type byte of a group capcode's function bit.
inline constexpr std::uint8_t kMessageTypeGroup = 0xFF;

/// True for kMinCapcode..kMaxCapcode.
constexpr bool CapcodeInRange(std::uint64_t value) {
    return value >= kMinCapcode && value <= kMaxCapcode;
}

/// Msg48, the capcode box's refusal of a value outside 7..2097151.
Message CapcodeRangeMessage();
/// The capcode box's check of a typed value: kMinCapcode..kMaxCapcode are
/// taken; any other value is refused with Msg48.
Outcome CheckCapcodeValue(std::uint64_t value);
/// The auto-increase of the repeated write: capcode \p n, shown in capcode
/// field \p fieldIndex (0 the first, 1 the second), is raised by one through
/// the box's check. A capcode already at 2097151 is refused with Msg25
/// naming the field (fieldIndex + 1); a raised value the box refuses (below
/// 7) with Msg48. A refusal keeps the stored capcode.
Outcome RaiseCapcode(ConfigImage& image, int n, int fieldIndex);

/// Offset of the 3-byte slot of capcode \p n.
std::size_t CapcodeSlotOffset(int n);
/// The capcode stored for \p n (slot value / 8).
std::uint32_t CapcodeAt(const ConfigImage& image, int n);
/// Stores \p capcode x 8 big-endian into the slot of \p n. The value is
/// taken modulo 2^21, so it never spills out of its three bytes.
void SetCapcode(ConfigImage& image, int n, std::uint32_t capcode);

/// ON flag of \p n (byte 0x123D + n/8, bit 7 - n%8).
bool CapcodeOn(const ConfigImage& image, int n);
void SetCapcodeOn(ConfigImage& image, int n, bool on);
/// Manual flag of \p n (byte 0x1235 + n/8, bit 7 - n%8).
bool CapcodeManual(const ConfigImage& image, int n);
void SetCapcodeManual(ConfigImage& image, int n, bool manual);

/// Priority alert flag of function bit \p f of \p n
/// (byte 0x1215 + n/2, bit 7 - 4*(n%2) - f).
bool PriorityAlert(const ConfigImage& image, int n, int f);
void SetPriorityAlert(ConfigImage& image, int n, int f, bool on);

/// Offset of the message display code byte of (\p n, \p f): 0x390 + 4n + f
/// for capcodes 1-8, 0x14F0 + 4(n-8) + f beyond.
std::size_t DisplayCodeOffset(int n, int f);
/// Offset of the message type byte of (\p n, \p f): 0x370 + 4n + f for
/// capcodes 1-8, 0x1410 + 4(n-8) + f beyond.
std::size_t MessageTypeOffset(int n, int f);

/// Summary letter of a display code: N P A I T, "-" for 5 and above.
char DisplayCodeLetter(std::uint8_t code);
/// Summary text of a message type: "P" for 0, "G" for 0xFF, otherwise the
/// value in upper-case hexadecimal.
std::string MessageTypeLetters(std::uint8_t type);

/// Parses the text of a capcode box: a decimal number, or nothing when the
/// text is not one (empty, a sign, letters, or too long to be a capcode).
std::optional<std::uint64_t> ParseCapcodeText(std::string_view text);

}  // namespace zrv
