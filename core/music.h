#pragma once
/// \file
/// Alert tones and melodies as plain rules over the image: the codes of the
/// music-type, reminder-tone and alert-tone selectors, the 16-note melody
/// notation and its bytes, the melody box's input mode, the reminder
/// duration, the alert tone and its kind, and the built-in preview tunes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

// Music-type codes --------------------------------------------------------------

/// The selectors that store an item as a code byte, each with its own codes.
enum class ToneSelector {
    MusicType,     ///< cboMusicType0..15 and cboORAAlert: "User", "Tone 1".."Tone 4", "Music 1".."Music 8"
    ReminderTone,  ///< cboRToneType: the same items with the reminder's codes
    AlertTone,     ///< cboTone: "Tone 1".."Tone 4", "Music 1".."Music 8", "Vibration", "Flash Only"
};

/// Item index of "User" in the music-type and reminder-tone selectors.
inline constexpr int kUserMusicItem = 0;
/// Items of the music-type and reminder-tone selectors; of the alert tone.
inline constexpr int kMusicTypeItemCount = 13;
inline constexpr int kAlertToneItemCount = 14;
/// "Tone 1", the first item of the alert tone.
inline constexpr int kFirstAlertToneItem = 0;

int ToneItemCount(ToneSelector selector);
/// The code byte of \p item (std::out_of_range outside the selector's items).
std::uint8_t ToneCode(ToneSelector selector, int item);
/// The item whose code is \p code, or nothing when no item has that code.
std::optional<int> ToneItem(ToneSelector selector, std::uint8_t code);

// Where the music settings live -----------------------------------------------------

/// Rows of a music page: four capcodes with function bits A-D.
inline constexpr int kMusicRowsPerPage = 16;
/// Music pages of the largest capcode count (48 capcodes, four per page).
inline constexpr int kMusicPageCount = 12;
inline constexpr int kMelodyLength = 16;

inline constexpr std::size_t kOutOfRangeTypeOffset = 0x4CD;
inline constexpr std::size_t kOutOfRangeMelodyOffset = 0xFD9;
inline constexpr std::size_t kReminderToneOffset = 0x7F9;
inline constexpr std::size_t kReminderMelodyOffset = 0xFC9;
inline constexpr std::size_t kAlertToneOffset = 0x2E;
inline constexpr std::size_t kAlertToneKindOffset = 0x4F9;
inline constexpr std::size_t kReminderDurationOffset = 0x53E;  ///< low byte; the high byte follows

/// The music-type byte of row \p row (0..15) of music page \p page (0..11);
/// std::out_of_range outside.
std::size_t MusicTypeOffset(int page, int row);
/// The first of the 16 melody bytes of that row.
std::size_t MelodyOffset(int page, int row);
/// Capcode number (1-based) and function bit (0 = A .. 3 = D) of a row.
int MusicRowCapcode(int page, int row);
int MusicRowFunctionBit(int row);

/// Stores the code of \p item of \p selector at \p offset.
void StoreToneItem(ConfigImage& image, std::size_t offset, ToneSelector selector, int item);
/// The item the byte at \p offset shows, or nothing for a code of no item.
std::optional<int> ShownToneItem(const ConfigImage& image, std::size_t offset, ToneSelector selector);

// Alert tone ------------------------------------------------------------------------

/// Stores alert-tone item \p item: its code at 0x2E and its kind at 0x4F9
/// (1 "Vibration", 3 "Flash Only", 0 a tone or a tune).
void StoreAlertTone(ConfigImage& image, int item);
/// "Capcode Music Type Enable" clicked: stores the pager's switch (1 = off)
/// and, while the pager menu item "Set Alert" is switched off, warns with
/// Msg75 (checked: the default tones are no longer offered) or Msg76.
Outcome StoreCapcodeMusicType(ConfigImage& image, bool checked, bool setAlertMenuOff);
/// The fixed alert tone is offered while the pager menu item "Set Alert" is
/// switched off, unless every capcode has its own music type.
bool AlertToneOffered(bool setAlertMenuOff, bool capcodeMusicTypeEnabled);

// Reminder duration ---------------------------------------------------------------

inline constexpr int kReminderDurationItemCount = 6;
/// The 16-bit value of item \p item ("Disable" 0 .. "60 minutes" 5143).
std::uint16_t ReminderDurationValue(int item);
/// The item of the stored duration, or nothing for a value of no item.
std::optional<int> ReminderDurationItem(const ConfigImage& image);
void StoreReminderDuration(ConfigImage& image, int item);

// Melody notation -------------------------------------------------------------------

using MelodyBytes = std::array<std::uint8_t, kMelodyLength>;

/// True for the characters a melody is written with: "A"-"G", "a"-"g", "0", "1".
bool IsMelodyCharacter(char32_t ch);
/// The note byte of one character; any other character is its own byte.
std::uint8_t MelodyNoteByte(char ch);
/// The box text of a stored melody: each byte by the notation table, byte 94
/// as "1" when the melody holds only 0 and 94 and as "e" otherwise, a byte
/// of no note as a space.
std::string MelodyText(const MelodyBytes& bytes);
/// The text a box stores: trimmed, its first 16 characters, padded on the
/// right with "0" to 16.
std::string PaddedMelodyText(std::string_view text);
MelodyBytes EncodeMelody(std::string_view text);

MelodyBytes ReadMelody(const ConfigImage& image, std::size_t offset);
/// Stores the melody written in \p text (see PaddedMelodyText) at \p offset.
/// More than 16 characters (after trimming spaces) or a character outside
/// the notation is refused with Msg77; "1" mixed with notes is judged as
/// MelodyInput judges typed keys: "1" after a note with Msg55, a note after
/// "1" with Msg74. Nothing is stored then.
Outcome StoreMelody(ConfigImage& image, std::size_t offset, std::string_view text);

/// The input mode the melody boxes share: a box's first "1" locks it to
/// on/off, its first note letter to notes; "0" leaves it open.
class MelodyInput {
public:
    enum class Mode { Undecided, OnOff, Notes };

    Mode mode() const { return mode_; }
    /// Entering a box, or a box emptied: the next key decides again.
    void reset() { mode_ = Mode::Undecided; }
    /// Judges one typed character for a box holding \p trimmedLength
    /// characters: refused with Msg77 (a 17th character, or none of the
    /// notation while undecided), Msg74 (not "0"/"1" in on/off mode) or
    /// Msg55 (not a note or "0" in note mode).
    Outcome key(char32_t ch, std::size_t trimmedLength);

private:
    Mode mode_ = Mode::Undecided;
};

Message MelodyKeyMessage(const char* key);

// Preview tunes -------------------------------------------------------------------

/// One pair of a built-in tune: a divider (0 for a pause) and a length in
/// units of 10 ms. (0, 1) is the short gap between two equal notes; (0, 0)
/// ends the tune.
struct TunePair {
    std::uint8_t divider = 0;
    std::uint8_t units = 0;
    friend bool operator==(const TunePair&, const TunePair&) = default;
};

/// The tune of item \p item (1 "Tone 1" .. 12 "Music 8"), ended by (0, 0);
/// std::out_of_range for any other item.
const std::vector<TunePair>& PreviewTune(int item);

}  // namespace zrv
