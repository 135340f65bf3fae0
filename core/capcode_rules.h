#pragma once
/// \file
/// The rules of the capcode group and the function bit window as plain
/// functions: the capcode box's keystroke filter and exit check, the ON and
/// Manual boxes of a slot, the three function-bit stores, what the function
/// bit window's combos show, and the slot's texts (the 7-digit capcode and
/// the priority, display and type summaries). The bit and byte arithmetic
/// is core/capcodes.h's; this file adds the boxes' rules on top.
///
/// A page is the item index of the page selector (0 = capcodes 1-8), a slot
/// is 0..7 on it; capcode numbers n are 0..47, function bits f 0..3 (A..D).

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

inline constexpr int kCapcodeSlotsPerPage = 8;
inline constexpr int kCapcodePageCount = 6;  ///< 48 capcodes at most

/// Items of the function bit window's display combos, in code order.
inline constexpr std::array<std::string_view, 6> kDisplayItems = {
    "STD Numeric", "PRC Numeric", "Alpha", "Ideo", "Tone Only", "Disable"};
/// Items of its message type combos: "Personal", mail drops 1..F, "Group".
inline constexpr std::array<std::string_view, 17> kMessageTypeItems = {
    "Personal",    "Mail Drop 1", "Mail Drop 2", "Mail Drop 3", "Mail Drop 4", "Mail Drop 5",
    "Mail Drop 6", "Mail Drop 7", "Mail Drop 8", "Mail Drop 9", "Mail Drop A", "Mail Drop B",
    "Mail Drop C", "Mail Drop D", "Mail Drop E", "Mail Drop F", "Group"};
inline constexpr int kGroupTypeItem = 16;

/// The capcode number of \p slot on \p page (std::out_of_range outside
/// 0..5 and 0..7): page 1, slot 0 is capcode 9 (n = 8).
int CapcodeNumber(int page, int slot);

// The capcode box ---------------------------------------------------------------

/// Msg47, the refusal of a character or text that is not a decimal number.
Message CapcodeNotNumericMessage();
/// The box's keystroke filter: control characters and digits pass; any other
/// character is refused with Msg47 and is not typed.
Outcome CheckCapcodeKey(char32_t ch);
/// The box's exit rule for capcode \p n:
/// - empty text: not taken, nothing to show (the box shows the stored
///   capcode again);
/// - text that is not a plain decimal number (pasted letters, signs,
///   spaces): refused with Msg47;
/// - a number outside 7..2097151: refused with Msg48;
/// - otherwise the capcode is stored.
/// A refusal leaves the image as it was. In every case the box then shows
/// CapcodeText(image, n); after a message the box gets the focus back.
Outcome StoreCapcodeText(ConfigImage& image, int n, std::string_view text);
/// The capcode box's text: the stored capcode in seven digits ("0000042").
std::string CapcodeText(const ConfigImage& image, int n);

// ON and Manual boxes of a slot ---------------------------------------------

/// "ON" of \p slot on \p page stores the check state in the ON bit.
void StoreCapcodeOnBox(ConfigImage& image, int page, int slot, bool checked);
/// "Manual" of \p slot on \p page stores the check state in the Manual bit.
void StoreCapcodeManualBox(ConfigImage& image, int page, int slot, bool checked);

// The function bit window ------------------------------------------------------

/// Stores display combo item \p item (0..5, std::out_of_range otherwise) as
/// the display code of function bit \p f of capcode \p n. The priority check
/// boxes store through SetPriorityAlert (core/capcodes.h).
void StoreFunctionBitDisplay(ConfigImage& image, int n, int f, int item);
/// Stores message type combo item \p item (0..16, std::out_of_range
/// otherwise): "Group" as 0xFF, every other item as its index.
void StoreFunctionBitType(ConfigImage& image, int n, int f, int item);
/// The display item the stored code selects; nothing for a code above 5,
/// which no item names (the combo then shows no selection).
std::optional<int> FunctionBitDisplayItem(const ConfigImage& image, int n, int f);
/// The type item the stored byte selects: 16 for 0xFF, the byte for 0..15,
/// nothing for any other byte.
std::optional<int> FunctionBitTypeItem(const ConfigImage& image, int n, int f);

// Slot summaries ------------------------------------------------------------------

/// Four characters for function bits A..D: "v" for a priority alert, "-" not.
std::string PrioritySummary(const ConfigImage& image, int n);
/// The four display letters of A..D ("AAAA" for the default image).
std::string DisplaySummary(const ConfigImage& image, int n);
/// The message type letters of A..D joined ("PPPP" for the default image; a
/// type byte above 15 other than 0xFF adds two hexadecimal digits).
std::string TypeSummary(const ConfigImage& image, int n);

}  // namespace zrv
