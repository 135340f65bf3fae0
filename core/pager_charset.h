#pragma once
/// \file
/// The pager's 7-bit national character sets. Texts are held in Windows-1252
/// in the image and in table files; around a transfer the text ranges of the
/// image are mapped to the pager's variant and back. The variant is the low
/// nibble of image byte 0x3A: 5 Spanish, 6 French, 8 German, 15 Swedish;
/// any other code (0..2 are English) maps nothing.

#include <cstdint>
#include <span>

#include "core/image.h"
#include "core/image_layout.h"

namespace zrv {

/// Character-set codes of the low nibble of 0x3A that carry a national map.
inline constexpr int kCharsetSpanish = 5;
inline constexpr int kCharsetFrench = 6;
inline constexpr int kCharsetGerman = 8;
inline constexpr int kCharsetSwedish = 15;

/// The pager code of the Windows-1252 byte \p pc under \p charsetCode;
/// a byte the map does not list comes back unchanged.
std::uint8_t ToPagerCharset(int charsetCode, std::uint8_t pc);
/// The Windows-1252 byte of the pager code \p pager under \p charsetCode;
/// a code the map does not list comes back unchanged.
std::uint8_t FromPagerCharset(int charsetCode, std::uint8_t pager);

/// The character-set code of \p image: the low nibble of 0x3A.
int PagerCharsetCode(const ConfigImage& image);

/// The image ranges that hold texts, the ones both conversions cover.
std::span<const layout::Span> TextRanges();

/// Maps every byte of every text range to the pager's character set.
void ConvertTextsToPager(ConfigImage& image);
/// Maps every byte of every text range back to Windows-1252.
void ConvertTextsFromPager(ConfigImage& image);

}  // namespace zrv
