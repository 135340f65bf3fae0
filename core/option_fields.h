#pragma once
/// \file
/// The pager's option bits, codes and option bytes, named by what they mean.
///
/// Where the pager stores an option inverted (the window's check box is
/// checked when the bit is 0), the field is named after what a 1 means and
/// ends in "Off": kPinCodeOff is 1 when the PIN code is switched off. The
/// window's caption is given in quotes.

#include "core/field.h"

namespace zrv::fields {

// Music types, tones and fonts: byte 0x2F and 0x30 ---------------------------

/// "Capcode User Music Enable" (hidden box); 1 = off. Forced to 1 by every load.
inline constexpr Field kCapcodeUserMusicOff{0x02F, 0, 1};
/// "Reminder Select Tone"; 1 = off.
inline constexpr Field kReminderSelectToneOff{0x02F, 1, 1};
/// "Logo Large Font"; 1 = the logo uses the regular font.
inline constexpr Field kLogoLargeFontOff{0x02F, 3, 1};
/// "Group Music Type Enable"; 1 = off.
inline constexpr Field kGroupMusicTypeOff{0x02F, 4, 1};
/// "Priority Music Type Enable"; 1 = off.
inline constexpr Field kPriorityMusicTypeOff{0x02F, 5, 1};
/// "Keyboard Interlock Enable"; 1 = off.
inline constexpr Field kKeyboardInterlockOff{0x02F, 7, 1};
/// "Alarm Music Type Enable"; 1 = off.
inline constexpr Field kAlarmMusicTypeOff{0x030, 2, 1};
/// "RD Key Switch Alert"; 1 = off.
inline constexpr Field kRdKeySwitchAlertOff{0x031, 7, 1};
/// "Capcode Music Type Enable"; 1 = off. The box shows this bit; the hint
/// of the box names kCapcodeUserMusicOff, which its click writes as well.
inline constexpr Field kCapcodeMusicTypeOff{0x458, 2, 1};

// Transfer options and lamp, byte 0x36 ---------------------------------------

/// "Frequency Modification Enable" (manual write group); 1 = off.
inline constexpr Field kFrequencyModificationOff{0x036, 0, 1};
/// "Password Required Enable" (manual write group); 1 = on.
inline constexpr Field kPasswordRequired{0x036, 1, 1};
/// "Password Modification Enable " (manual write group); 1 = on.
inline constexpr Field kPasswordModification{0x036, 2, 1};
/// "Beep And Vibration "; 1 = on.
inline constexpr Field kBeepAndVibration{0x036, 3, 1};
/// "Discard Error Message"; 1 = on.
inline constexpr Field kDiscardErrorMessage{0x036, 5, 1};
/// "Air Program Enable" / "OTA Program Enable"; 1 = on.
inline constexpr Field kAirProgram{0x036, 6, 1};
/// "Push Key Lamp On Enable"; 1 = on.
inline constexpr Field kPushKeyLampOn{0x036, 7, 1};

// Message handling, byte 0x39 and 0x3B ----------------------------------------

/// "Read Time Out": 0 "8 sec", 1 "12 sec", 2 "20 sec", 3 "30 sec".
inline constexpr Field kReadTimeOut{0x039, 0, 2};
/// "Duplicate Msg Detect"; 1 = off.
inline constexpr Field kDuplicateMsgDetectOff{0x039, 3, 1};
/// "Counter Out Enable"; 1 = off.
inline constexpr Field kCounterOutOff{0x039, 4, 1};
/// "Direct Show Lamp On"; 1 = on.
inline constexpr Field kDirectShowLampOn{0x039, 5, 1};
/// "Lowcell Alert Enable"; 1 = on.
inline constexpr Field kLowcellAlert{0x039, 6, 1};
/// "Disp Source Addr ON"; 1 = on.
inline constexpr Field kDisplaySourceAddress{0x039, 7, 1};
/// "Long Message Control On"; 1 = on.
inline constexpr Field kLongMessageControl{0x03B, 2, 1};
/// Date format: 0 "dd-mm-yy", 1 "mm-dd-yy".
inline constexpr Field kDateFormat{0x03B, 3, 1};
/// "Paging Display": 0 "Page Count", 1 "Direct".
inline constexpr Field kPagingDisplay{0x03B, 4, 1};
/// Prompt mode: 2 once a prompt set or the logo is stored, 0 for a logo of
/// one space.
inline constexpr Field kPromptMode{0x03B, 0, 2};
/// Source texts: bit 6 on (1 = "Enable"); the flag below it is always
/// written 0 with it.
inline constexpr Field kSourceTextsOn{0x03B, 6, 1};
inline constexpr Field kSourceTextsFactoryFlag{0x03B, 5, 1};

// Sequential lockout, byte 0x3C ------------------------------------------------

/// Time step of the lockout: 0 "30 seconds" .. 3 "175 seconds".
inline constexpr Field kLockoutStep{0x03C, 0, 2};
/// 1 = the longest lockout, "240 seconds", whatever the step.
inline constexpr Field kLockoutLongest{0x03C, 2, 1};
/// 1 = the lockout is on.
inline constexpr Field kLockoutOn{0x03C, 3, 1};

// Out-of-range alert, menu list, manual write, RD key: byte 0x3D, 0x4FB, 0x4FC --

/// Time step of the out-of-range timer: 0 "1 min" .. 3 "10 min".
inline constexpr Field kOutOfRangeStep{0x03D, 1, 2};
/// 1 = the out-of-range timer runs with kOutOfRangeStep.
inline constexpr Field kOutOfRangeTimerOn{0x03D, 3, 1};
/// "Manual Write Enable" (manual write group); 1 = off.
inline constexpr Field kManualWriteOff{0x03D, 4, 1};
/// Set to 1 by every change of the menu item list.
inline constexpr Field kMenuListChanged{0x03D, 5, 1};
/// "RD Key Pager Off" (hidden box); 1 = on.
inline constexpr Field kRdKeyPagerOff{0x03D, 6, 1};
/// "RD Key Delete Enable"; 1 = on.
inline constexpr Field kRdKeyDelete{0x03D, 7, 1};
/// Minutes of the longest out-of-range time; 15 while "15 min" is chosen.
inline constexpr Field kOutOfRangeLongestMinutes{0x4FB, 0, 8};
/// "Out Of Range Alert"; 1 = off.
inline constexpr Field kOutOfRangeAlertOff{0x4FC, 0, 1};
/// 0 = the longest out-of-range time ("15 min") is chosen; 1 = the timer of
/// byte 0x3D applies.
inline constexpr Field kOutOfRangeLongestOff{0x4FC, 1, 1};
/// Battery type, "Rechargeable Bat. 2.4V": 1 = rechargeable 2.4 V cell,
/// 0 = standard 1.5 V cell.
inline constexpr Field kRechargeableBattery{0x4FC, 2, 1};

// Languages: low nibbles of 0x3A, 0x3E, 0x3F -----------------------------------

/// Pager character set (2, 5, 6, 8, 15; 0..2 mean English).
inline constexpr Field kCharacterSetCode{0x03A, 0, 4};
/// Prompt language code, read back to the prompt language selector.
inline constexpr Field kPromptLanguageCode{0x03E, 0, 4};
/// Logo font language code.
inline constexpr Field kLogoFontCode{0x03F, 0, 4};

// Option bytes 0x457..0x4A1 -----------------------------------------------------

/// Narrowband receiver; 1 = on.
inline constexpr Field kNarrowband{0x457, 5, 1};
/// The flag every refresh of the main window clears.
inline constexpr Field kRefreshClearedFlag{0x457, 7, 1};
/// "OTA - Active (enable/disable)"; 1 = off.
inline constexpr Field kOtaOff{0x458, 0, 1};
/// "AES - Active (enable/disable)"; 1 = off.
inline constexpr Field kAesOff{0x458, 1, 1};
/// "Vibrate Off In Charger"; 1 = off (the pager vibrates in the charger).
inline constexpr Field kVibrateOffInChargerOff{0x458, 7, 1};
/// "Pin Code(4 Dec)"; 1 = off.
inline constexpr Field kPinCodeOff{0x4A1, 6, 1};
/// Logo mode: 1 = the pager shows the one-line logo, the only logo the
/// window edits. Every load, read and write sets it.
inline constexpr Field kOneLineLogo{0x4A1, 0, 1};

// Factory flags: no control edits them; every load and read put the factory
// value back, so an image never carries another value into a pager -------------

/// Two flags beside the logo mode; factory value 0.
inline constexpr Field kLogoFactoryFlags{0x4A1, 1, 2};
/// The lower of the two, the one a load puts back.
inline constexpr Field kLogoFactoryFlagLow{0x4A1, 1, 1};
/// Two flags below "Pin Code(4 Dec)"; factory value 0.
inline constexpr Field kPinFactoryFlags{0x4A1, 4, 2};
/// The upper of the two, the one a load puts back.
inline constexpr Field kPinFactoryFlagHigh{0x4A1, 5, 1};
/// The top flag of the logo and PIN byte; factory value 1.
inline constexpr Field kLogoPinFactoryFlag{0x4A1, 7, 1};
/// The flag beside "RD Key Switch Alert"; factory value 1.
inline constexpr Field kRdKeyFactoryFlag{0x031, 6, 1};
/// The flag beside "Vibrate Off In Charger"; factory value 0.
inline constexpr Field kChargerFactoryFlag{0x458, 6, 1};
/// The flag after the menu code list; factory value 0.
inline constexpr Field kMenuListFactoryFlag{0x07F, 0, 1};

// Whole option bytes: nonzero = on, 0 = off --------------------------------------

/// "Group Code Disable" is checked when this byte is 0.
inline constexpr Field kGroupCodeOn{0x51F, 0, 8};
/// The pager's menu items that the "... Off" boxes switch off: 0x00 off,
/// 0xFF on (any nonzero byte counts as on).
inline constexpr Field kLockUnlockMenuOn{0x7E0, 0, 8};  ///< "Lock/Unlock Off"
inline constexpr Field kDeleteMenuOn{0x7E1, 0, 8};      ///< "Delete Off"
inline constexpr Field kDeleteAllMenuOn{0x7E2, 0, 8};   ///< "Delete All Off"
inline constexpr Field kMoveToMemoMenuOn{0x7E3, 0, 8};  ///< "Move To Memo Off"
inline constexpr Field kHistoryMenuOn{0x7E4, 0, 8};     ///< "History Off" (hidden box)

// Receiver ---------------------------------------------------------------------

/// Polarity: 0 "Normal", 1 "Invert".
inline constexpr Field kPolarityInverted{0x1402, 7, 1};
/// Baud code: 2 = 512 bps, 3 = 1200 bps, 1 = 2400 bps (core/frequency.h).
inline constexpr Field kBaudCode{0x1403, 4, 2};

}  // namespace zrv::fields
