#pragma once
/// \file
/// The built-in default image, the program's version texts and the four
/// built-in prompt sets of the prompt-language selector.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/image.h"

namespace zrv {

/// The product and version texts.
inline constexpr std::string_view kProductName = "ZRV41K";
inline constexpr std::string_view kProgramVersion = "V1.09";  ///< as in the identity text
inline constexpr std::string_view kVersionDigits = "1.09";    ///< the four characters after the V
inline constexpr std::string_view kBuildDate = "2014.12.30";

/// The six-digit read/write password of the default image (0xFC3..0xFC8).
inline constexpr std::string_view kDefaultRwPassword = "000000";

/// The distributor logo of both power-up logo lines (16 characters).
inline constexpr std::string_view kDefaultLogoLine = "    Veltaro     ";

/// "ZRV41K USB Version 1.09": the main window caption after start-up.
std::string MainWindowCaption();
/// "Version 1.09(2014.12.30)": the version text of the About window.
std::string AboutVersionText();

/// Fills \p image with the default contents: 0xFF everywhere, the default
/// blocks, prompt texts, logo lines, password, fields and identity text.
void BuildDefaultImage(ConfigImage& image);

/// What the program holds after start-up: the default image, then the
/// source enable bytes and the 16 bytes after them (0x7C0..0x7DF) zeroed.
ConfigImage StartupImage();

// Built-in prompt sets ---------------------------------------------------------

/// One prompt record of a set: attribute byte and text (UTF-8 here; stored
/// as Windows-1252, padded with spaces).
struct PromptText {
    std::uint8_t attribute;
    std::string_view text;
};

/// Items of the prompt-language and logo-font selectors, in this order.
inline constexpr int kLanguageEnglish = 0;
inline constexpr int kLanguageSpanish = 1;
inline constexpr int kLanguageFrench = 2;
inline constexpr int kLanguageGerman = 3;
inline constexpr int kLanguageSwedish = 4;
inline constexpr int kLanguageCount = 5;

/// Item texts of the selectors ("Spainish" is spelt so on the pager's menu).
inline constexpr std::array<std::string_view, kLanguageCount> kLanguageItems = {
    "English", "Spainish", "French", "German", "Swedish"};
/// Language code of each item: 2, 5, 6, 8, 15.
inline constexpr std::array<int, kLanguageCount> kLanguageCodes = {2, 5, 6, 8, 15};

/// The item a stored language code selects: 0, 1, 2 -> English, 5, 6, 8, 15
/// -> their item; -1 for any other code (the selector keeps its item).
int LanguageItemFromCode(int code);

/// A built-in prompt set: 31 menu records for 0x100..0x36B and, for French
/// and German, the two history records for 0x3B8 and 0x3CC (empty otherwise).
struct PromptSet {
    std::span<const PromptText> menu;
    std::span<const PromptText> history;
};

/// The set of selector item \p item (0..4; Swedish uses the English set).
/// Throws std::out_of_range for another item.
PromptSet BuiltInPromptSet(int item);

/// The 20-byte record of one prompt: attribute, length, Windows-1252 text
/// padded with spaces (texts longer than 18 are cut).
std::array<std::uint8_t, 20> PromptRecordBytes(const PromptText& prompt);

/// Copies the set of \p item into the image: the 620 menu bytes, and the 40
/// history bytes when the set has them (otherwise 0x3B8..0x3DF stay).
void WritePromptSet(ConfigImage& image, int item);

}  // namespace zrv
