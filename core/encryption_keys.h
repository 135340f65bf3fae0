#pragma once
/// \file
/// The AES settings of the image: sixteen key texts of 16 characters at
/// 0x1100 and, per capcode and function bit (A..D), the key that applies
/// (0 = "Disable", 1..16 = "Key 1".."Key 16") at 0x1000 + 32 x page + Tag.
/// The window's key lists have Tags 0..31 (4 x row + function bit); the
/// page is the entry of the encryption page selector.

#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

inline constexpr int kKeyCount = 16;
inline constexpr int kKeyTextLength = 16;
/// "Disable" and "Key 1" .. "Key 16".
inline constexpr int kKeySelectionItemCount = kKeyCount + 1;
/// Key lists per page: eight capcodes with four function bits each.
inline constexpr int kKeyListsPerPage = 32;
/// Pages the key-selection area holds (eight capcodes each).
inline constexpr int kKeySelectionPageCount = 8;

/// The item the list with Tag \p tag (0..31) shows on page \p page (0..7):
/// the stored byte when it names a key or "Disable" (0..16), otherwise
/// "Disable" (a blank image's 0xFF). std::out_of_range for a bad Tag or page.
int KeySelectionItem(const ConfigImage& image, int page, int tag);
/// Stores item \p item (0..16) of the list with Tag \p tag on page \p page.
void StoreKeySelection(ConfigImage& image, int page, int tag, int item);

/// The message for a key text that the pager cannot hold.
Message KeyTextMessage();
/// Whether \p ch may be typed into a key: a printable character of the
/// image's code page (Windows-1252). Refused with KeyTextMessage().
Outcome JudgeKeyCharacter(char32_t ch);

/// What leaving a key edit does with its text.
struct KeyTextResult {
    Outcome outcome;
    /// The text padded with blanks to 16 characters (UTF-8), for the edit
    /// to show; empty when the text was refused.
    std::string shown;
};
/// Stores the text of key \p key (0..15; std::out_of_range otherwise),
/// padded on the right with blanks to 16 characters; an empty text stores
/// 16 blanks. A text of more than 16 characters or with a character the
/// code page lacks (or a control character) is refused with
/// KeyTextMessage() and leaves the image as it was.
KeyTextResult StoreKeyText(ConfigImage& image, int key, std::string_view utf8);

}  // namespace zrv
