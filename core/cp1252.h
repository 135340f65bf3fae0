#pragma once
/// \file
/// The PC code page of every text in the image, table files and language
/// files: Windows-1252, for all 256 bytes. The five bytes that Windows-1252
/// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control
/// characters of the same number and back, so every byte survives a round trip.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zrv {

/// The Unicode character of one Windows-1252 byte.
char32_t Cp1252ToUnicode(std::uint8_t byte);
/// True for a control character (C0, DEL and C1): never shown as itself.
constexpr bool IsControlCharacter(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F); }
/// The Windows-1252 byte of a Unicode character, or nothing when the code
/// page has no such character.
std::optional<std::uint8_t> UnicodeToCp1252(char32_t ch);

/// Windows-1252 bytes to UTF-8 text.
std::string Cp1252ToUtf8(std::string_view bytes);
/// UTF-8 text to Windows-1252 bytes; characters the code page lacks, and
/// malformed UTF-8, become \p replacement.
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?');

}  // namespace zrv
