#pragma once
/// \file
/// The option settings of the "Alerts && Status" page as plain rules over
/// the image: the sequential lockout and out-of-range timer selectors, the
/// four manual-write switches, the pager menu items that are switched off
/// and the screen contrast. The window reads its controls, calls these and
/// shows the outcome.

#include <array>
#include <cstdint>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

// Sequential lockout ("Disable", "30 seconds" .. "175 seconds", "240 seconds")

inline constexpr int kLockoutItemCount = 6;

/// The lockout item byte 0x3C shows: 5 when the longest-time bit is set;
/// else 0 when the lockout is off; else the time step + 1.
int LockoutItem(const ConfigImage& image);
/// Stores lockout item \p item (0..5; std::out_of_range otherwise). "240
/// seconds" sets the on and longest bits and keeps the time step; every
/// other item clears the longest bit and writes on and step.
void StoreLockoutItem(ConfigImage& image, int item);

// Out-of-range timer ("Disable", "1 min", "2 min", "5 min", "10 min", "15 min")

inline constexpr int kOutOfRangeItemCount = 6;

/// The out-of-range item the image shows: 5 when bit 1 of 0x4FC is 0 (the
/// longest time); else 0 when the timer of 0x3D is off; else its step + 1.
int OutOfRangeItem(const ConfigImage& image);
/// Stores out-of-range item \p item (0..5; std::out_of_range otherwise).
/// "Disable" switches the timer off, "1 min" .. "10 min" switch it on with
/// their step; both leave the longest time. "15 min" chooses the longest
/// time, 15 minutes, and leaves the timer bits of 0x3D as they are.
void StoreOutOfRangeItem(ConfigImage& image, int item);

// Manual write group --------------------------------------------------------------

/// The four manual-write switches as their check boxes show them.
struct TransferOptions {
    bool manualWrite = false;            ///< "Manual Write Enable"
    bool frequencyModification = false;  ///< "Frequency Modification Enable"
    bool passwordRequired = false;       ///< "Password Required Enable"
    bool passwordModification = false;   ///< "Password Modification Enable "

    friend bool operator==(const TransferOptions&, const TransferOptions&) = default;
};

/// The switches from bit 4 of 0x3D and bits 0-2 of 0x36 (manual write and
/// frequency modification are stored inverted).
TransferOptions TransferOptionsFromImage(const ConfigImage& image);
/// Stores the four switches; the other bits of both bytes stay.
void StoreTransferOptions(ConfigImage& image, const TransferOptions& options);

/// One switch of the manual write group, as its check box names it.
enum class TransferOption { ManualWrite, FrequencyModification, PasswordRequired, PasswordModification };
/// Stores one switch as its box shows it (\p checked); the other switches
/// and bits stay, so a box set from the image writes back only its own bit.
void StoreTransferOption(ConfigImage& image, TransferOption option, bool checked);

// Pager menu items ----------------------------------------------------------------

/// The eight items of the pager's own menu, codes 7..14 ("Zoom In/Out Off"
/// .. "CAP-ON Off"); the image lists the codes of the items that are on.
inline constexpr int kMenuItemCount = 8;
/// "Set Alert Off", the item whose box offers the fixed alert tone.
inline constexpr int kSetAlertMenuItem = 6;
using MenuItemsOff = std::array<bool, kMenuItemCount>;

/// Which items are switched off: all, except each item whose code appears in
/// bytes 0x78..0x7E. Spaces and codes that name no item are skipped.
MenuItemsOff MenuItemsOffFromImage(const ConfigImage& image);
/// Writes the list of the items that are on: their codes right-aligned in
/// ascending order at 0x78..0x7E, spaces in front, and sets the menu-list
/// flag. The list has room for seven codes, so at least one item must be
/// off: otherwise Msg42 and nothing is written. With "Set Alert" on the
/// pager's menu (its box unchecked) the fixed alert tone is not offered and
/// goes back to its first item, "Tone 1", stored as its selector stores it.
Outcome StoreMenuItemsOff(ConfigImage& image, const MenuItemsOff& off);

// Screen contrast -----------------------------------------------------------------

inline constexpr int kContrastMin = 1;
inline constexpr int kContrastMax = 8;

/// Stores slider position \p position (1..8; std::out_of_range otherwise)
/// as the contrast byte.
void StoreContrast(ConfigImage& image, int position);
/// True for the contrast bytes the pager knows, 1..8.
bool ContrastByteInRange(std::uint8_t byte);
/// The slider position of a contrast byte: the byte itself within 1..8, the
/// nearer end of the range for any other byte.
int ContrastSliderPosition(std::uint8_t byte);

}  // namespace zrv
