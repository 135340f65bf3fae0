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
/// UTF-8 text to Windows-1252 bytes, or nothing when the text is malformed
/// UTF-8 or holds a character the code page lacks: for values that must be
/// stored as given or refused, never stored with a replacement.
std::optional<std::string> Utf8ToCp1252Exact(std::string_view utf8);
/// The Windows-1252 bytes of a text the pager shows (a prompt, a source
/// line, a password): UTF-8 that converts exactly and holds no control
/// character (a TAB, ESC, CR, LF or NUL would be stored as a byte the
/// display does not show as typed). Nothing when the text is not such.
std::optional<std::string> PagerTextBytes(std::string_view utf8);

}  // namespace zrv
