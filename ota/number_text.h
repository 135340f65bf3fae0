#pragma once
/// \file
/// Reading the numbers the OTA window's fields hold: hexadecimal digits and
/// texts, and decimal texts, the one way every OTA rule reads them.

#include <cstdint>
#include <optional>
#include <string>

namespace zrv::ota {

/// The value of the hexadecimal digit \p c (either case), or -1.
int HexDigitValue(char c);

/// \p text as a hexadecimal number of 1 to 8 digits; nothing for an empty,
/// longer or non-hexadecimal text.
std::optional<std::uint32_t> HexNumber(const std::string& text);

/// \p text as a decimal number: an optional sign, then digits, within the
/// signed 32-bit range; nothing otherwise.
std::optional<long long> DecimalNumber(const std::string& text);

}  // namespace zrv::ota
