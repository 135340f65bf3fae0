#pragma once
/// \file
/// How long the pager alerts: the personal alert length (byte 0x90) and,
/// for each of the fifteen mail drops, whether it alerts (bits of
/// 0x37..0x38) and for how long (bytes 0x91..0x9F). The alert window sets
/// them through its combos; the "Message Type Status" strip of the main
/// window shows them as two-character codes. Mail drops are numbered by
/// their combo's Tag, i = 0..14 for mail drop 1..F.

#include <array>
#include <optional>
#include <string>

#include "core/image.h"

namespace zrv {

inline constexpr int kMailDropCount = 15;

/// Items of the personal alert combo: "2 sec", "8 sec", "16 sec", "32 sec",
/// "continuos".
inline constexpr int kPersonalAlertItemCount = 5;
inline constexpr int kPersonalAlertContinuous = 4;

/// Items of a mail drop combo: "Disable", "Beep", "1 sec", "16 sec".
inline constexpr int kMailDropItemCount = 4;
inline constexpr int kMailDropDisable = 0;
inline constexpr int kMailDropBeep = 1;
inline constexpr int kMailDropOneSecond = 2;
inline constexpr int kMailDropSixteenSeconds = 3;

/// Labels of the strip: the personal alert and mail drops 1..F (Tags 0..15).
inline constexpr int kAlertStripLabelCount = 1 + kMailDropCount;

// Personal alert -------------------------------------------------------------

/// Stores personal item \p item (0..4, std::out_of_range otherwise) as 2, 8,
/// 16, 32 seconds or 0 (continuous) into 0x90.
void StorePersonalAlert(ConfigImage& image, int item);
/// The item 0x90 selects; nothing for a value without an item, so the combo
/// keeps what it showed.
std::optional<int> PersonalAlertItem(const ConfigImage& image);

// Mail drops -------------------------------------------------------------------

/// Whether mail drop \p i (0..14) alerts at all.
bool MailDropAlertOn(const ConfigImage& image, int i);
/// Stores mail drop item \p item for mail drop \p i (std::out_of_range for
/// either outside its range). "Disable" clears the mail drop's alert bit and
/// keeps its length byte, so switching it on again with the same length
/// needs no new choice of length; every other item sets the bit and writes
/// 0 (beep), 1 or 16 seconds into 0x91 + i.
void StoreMailDropAlert(ConfigImage& image, int i, int item);
/// The item the image selects for mail drop \p i: "Disable" when its bit is
/// clear, else the item of its length; nothing for a length without an item.
std::optional<int> MailDropAlertItem(const ConfigImage& image, int i);

// The status strip -------------------------------------------------------------

/// Personal code: "CT", "02", "08", "16", "32"; nothing for another value.
std::optional<std::string> PersonalAlertCode(const ConfigImage& image);
/// Mail drop code: "--" when off; "BP", "01", "16" by length when on;
/// nothing for another length.
std::optional<std::string> MailDropAlertCode(const ConfigImage& image, int i);
/// The texts of lblLength0..15, indexed by Tag. An empty entry leaves that
/// label's text as it was.
std::array<std::optional<std::string>, kAlertStripLabelCount> AlertLengthStrip(const ConfigImage& image);

}  // namespace zrv
