#pragma once
/// \file
/// Where everything lives in the 22016-byte configuration image. Every offset
/// the program uses is named here once; logic never spells a bare offset.
///
/// Each subsystem keeps its constants in its own section below. Add new
/// constants to your section with a small edit, after checking with grep that
/// the offset is not already named here.

#include <array>
#include <cstddef>
#include <string_view>

#include "core/image.h"

namespace zrv::layout {

/// A byte range of the image: \c length bytes from \c offset.
struct Span {
    std::size_t offset;
    std::size_t length;
    constexpr std::size_t last() const { return offset + length - 1; }
    constexpr std::size_t end() const { return offset + length; }
};

// ---------------------------------------------------------------------------
// Core: the image map, checksums, identity, default image, table files
// ---------------------------------------------------------------------------

// General parameter block 0x000..0x09F -------------------------------------
inline constexpr Span kGeneralBlock{0x000, 0xA0};
inline constexpr std::size_t kPllN = 0x05;            ///< 3 bytes, big-endian
inline constexpr std::size_t kPllR = 0x09;            ///< 3 bytes, big-endian
inline constexpr std::size_t kPllRLastByte = 0x0B;    ///< 0x11 in the low band
inline constexpr std::size_t kIncd = 0x0C;            ///< 2 bytes, big-endian
inline constexpr std::size_t kIncdLowByte = 0x0D;     ///< divisor in the high band
inline constexpr std::size_t kChannelStep = 0x0E;     ///< whole kHz
inline constexpr std::size_t kWordLength3 = 3;        ///< PLL N and PLL R words
inline constexpr std::size_t kOption2F = 0x2F;        ///< bit 0 forced, bit 3 logo large font (0 = on)
inline constexpr std::size_t kOption31 = 0x31;        ///< bit 6 forced to 1
inline constexpr std::size_t kCharsetCode = 0x3A;     ///< low nibble: pager character set
inline constexpr std::size_t kPromptMode = 0x3B;      ///< bits 0-1 prompt mode, bits 5-6 source texts
inline constexpr std::size_t kPromptLanguage = 0x3E;  ///< low nibble
inline constexpr std::size_t kLogoFont = 0x3F;        ///< low nibble
inline constexpr std::size_t kBaseFrequency = 0x64;   ///< 4 bytes, big-endian, 100 Hz units
inline constexpr std::size_t kBaseFrequencyBandByte = 0x65;  ///< high nibble names the band
inline constexpr std::size_t kChannelFrequency = 0x68;       ///< 4 bytes, big-endian, 100 Hz units
inline constexpr std::size_t kFrequencyLength = 4;
inline constexpr Span kMenuCodes{0x78, 7};            ///< menu item codes 0x78..0x7E
inline constexpr std::size_t kOption7F = 0x7F;        ///< bit 0 forced to 0 after a load
inline constexpr std::size_t kContrast = 0x89;

// Prompt records: 20 bytes each (attribute, length, 18 text bytes) -----------
inline constexpr std::size_t kPromptRecordSize = 20;
inline constexpr std::size_t kPromptTextOffset = 2;   ///< text starts at byte 2 of a record
inline constexpr std::size_t kPromptMaxText = 18;
inline constexpr std::size_t kPromptFlashOnly = 0x0A0;
inline constexpr std::size_t kPromptOutOfRange = 0x0B4;
inline constexpr std::size_t kPromptPinWrong = 0x0EC;
inline constexpr std::size_t kMenuPrompts = 0x100;    ///< 31 menu prompt records
inline constexpr std::size_t kMenuPromptCount = 31;
inline constexpr Span kMenuPromptBlock{0x100, 620};   ///< 0x100..0x36B
inline constexpr Span kHistoryPromptBlock{0x3B8, 40}; ///< two records, 0x3B8 and 0x3CC
inline constexpr std::size_t kPromptSetHistory = 0x3B8;
inline constexpr std::size_t kPromptHistorySet = 0x3CC;
inline constexpr std::size_t kPromptKeyUnlocked = 0x400;
inline constexpr std::size_t kPromptKeyLocked = 0x414;
inline constexpr std::size_t kPromptCharging = 0x428;
inline constexpr std::size_t kPromptKeyLockedAsk = 0x43C;
inline constexpr std::size_t kPromptPinCode = 0x45C;
inline constexpr std::size_t kPromptPasswordWrong = 0x479;
inline constexpr std::size_t kPromptReadPassword = 0x48D;
inline constexpr std::size_t kPromptCapcodeSet = 0x4A4;
inline constexpr std::size_t kPromptSetCapcode = 0x4B8;
inline constexpr std::size_t kPromptMailDrop = 0x4E4;
inline constexpr std::size_t kNewsPrompts = 0x540;    ///< 32 records "NEWS 1".."NEWS 32"
inline constexpr std::size_t kNewsPromptCount = 32;
inline constexpr std::size_t kPromptDiscrete = 0xFE9;

// Capcode function-bit bytes of capcodes 1-8 ------------------------------
inline constexpr std::size_t kMessageTypeLow = 0x370;   ///< 4 bytes per capcode
inline constexpr std::size_t kDisplayCodeLow = 0x390;   ///< 4 bytes per capcode

// Identity and link area --------------------------------------------------
inline constexpr std::size_t kWriteMarker = 0x3E0;
inline constexpr Span kIdentity{0x3E1, 15};             ///< "ZR-V41K   V1.09"
inline constexpr Span kIdentityForSave{0x3E1, 14};      ///< "ZR-V41K  V1.09"
inline constexpr Span kModelNameField{0x3E1, 7};        ///< "ZR-V41K", checked on load

// Option bytes 0x450..0x4FC -------------------------------------------------
inline constexpr std::size_t kOption457 = 0x457;      ///< bit 5 narrowband, bit 7 forced 0 by refresh
inline constexpr std::size_t kOption458 = 0x458;
inline constexpr std::size_t kFirmwareVersion = 0x459;  ///< firmware version x 10
inline constexpr std::size_t kStepFraction = 0x45A;   ///< hundredths of a kHz
inline constexpr Span kDefaultZeroed470{0x470, 9};    ///< zeroed by the default image
inline constexpr std::size_t kOption4A1 = 0x4A1;
inline constexpr std::size_t kOption4A2 = 0x4A2;      ///< forced to 0x29 after a load
inline constexpr Span kPagerSerial{0x4D6, 12};        ///< 12 ASCII characters
inline constexpr std::size_t kPagerSerialSum = 0x4E2; ///< 2 bytes, big-endian sum of the 12
inline constexpr std::size_t kOption4F8 = 0x4F8;      ///< forced to 0x29 by refresh
inline constexpr std::size_t kOption4FB = 0x4FB;
inline constexpr std::size_t kOption4FC = 0x4FC;

// Serial numbers and status bytes 0x4FD..0x53F ------------------------------
inline constexpr Span kSsn{0x4FD, 16};                ///< one hex digit per byte
inline constexpr Span kPsn{0x513, 12};                ///< one hex digit per byte
inline constexpr std::size_t kGroupCode = 0x51F;
inline constexpr std::size_t kFixedByte520 = 0x520;   ///< always kFixedByte520Value
/// The value every default, load, read and write puts in the fixed byte 0x520.
inline constexpr std::uint8_t kFixedByte520Value = 0x96;
inline constexpr std::size_t kStatus52E = 0x52E;      ///< forced 0 after a load
inline constexpr std::size_t kStatus52F = 0x52F;      ///< forced 0 after a load
inline constexpr Span kStatusBytes{0x52E, 4};         ///< 0x52E..0x531

// Source enables, menu locks, checksum 0x7C0..0x7FF ------------------------
inline constexpr Span kSourceEnables{0x7C0, 16};
inline constexpr Span kStartupZeroed{0x7C0, 32};      ///< zeroed after the default image
inline constexpr Span kMenuLocks{0x7E0, 5};
inline constexpr std::size_t kChecksum = 0x7FE;       ///< 2 bytes, big-endian

// Source texts, melodies, logo ------------------------------------------------
inline constexpr Span kSourceTextBlock{0x800, 1408};  ///< 32 records of 44 bytes
inline constexpr std::size_t kSourceRecordSize = 44;
inline constexpr std::size_t kSourceLineLength = 21;
inline constexpr Span kMelodyTable{0xD80, 512};
inline constexpr std::size_t kShortTableSize = 0xD80; ///< 3456: a short table ends here
inline constexpr Span kLogoBlock{0xF80, 128};         ///< 0xF80..0xFFF
inline constexpr Span kLogoFiller{0xF80, 24};         ///< 0x08 each
inline constexpr std::size_t kLogoLine1 = 0xF98;
inline constexpr std::size_t kLogoLine2 = 0xFA8;
inline constexpr std::size_t kLogoLineLength = 16;
inline constexpr Span kLogoTextFiller{0xFB8, 10};
inline constexpr std::size_t kBatteryLowTone = 0xFC2;
inline constexpr Span kRwPassword{0xFC3, 6};
inline constexpr Span kMelodyEntries{0xFC9, 32};      ///< two 16-byte melody entries

// Keys ------------------------------------------------------------------------
inline constexpr Span kKeySelections{0x1000, 256};    ///< 0x1000..0x101F in use
inline constexpr std::size_t kKeys = 0x1100;          ///< sixteen keys of 16 bytes
inline constexpr std::size_t kKeyLength = 16;
inline constexpr std::size_t kKeyCount = 16;

// Capcode block 0x1200..0x19FF -----------------------------------------------
inline constexpr Span kCapcodeDefaultsBlock{0x1215, 2027};  ///< 0x1215..0x19FF
inline constexpr std::size_t kPriorityFlags = 0x1215; ///< 24 bytes, two capcodes a byte
inline constexpr std::size_t kManualBitmap = 0x1235;  ///< 8 bytes, one per page
inline constexpr std::size_t kCapcodeOnBitmap = 0x123D;  ///< 8 bytes, one per page
inline constexpr std::size_t kBitmapLength = 8;
inline constexpr std::size_t kCapcodeCount = 0x1246;
inline constexpr std::size_t kCapcodeSlots = 0x1280;  ///< 48 slots of 3 bytes
inline constexpr std::size_t kCapcodeSlotSize = 3;
inline constexpr int kMaxCapcodes = 48;
inline constexpr std::size_t kBaudByte1 = 0x1400;
inline constexpr std::size_t kBaudByte2 = 0x1401;
inline constexpr std::size_t kPolarity = 0x1402;      ///< bit 7
inline constexpr std::size_t kBaudCode = 0x1403;      ///< bits 4-5
inline constexpr std::size_t kMessageTypeHigh = 0x1410;  ///< capcodes 9-48
inline constexpr std::size_t kDisplayCodeHigh = 0x14F0;  ///< capcodes 9-48
inline constexpr std::size_t kFunctionBits = 4;       ///< A, B, C, D

// Pages per four capcodes -------------------------------------------------------
inline constexpr std::size_t kMusicTypePages = 0x1A00;
inline constexpr std::size_t kMusicTypePageSize = 256;
inline constexpr Span kMusicTypeArea{0x1A00, 3072};
inline constexpr std::size_t kSourcePages = 0x2A00;
inline constexpr std::size_t kSourcePageSize = 704;
inline constexpr Span kSourcePageArea{0x2A00, 8448};

// Editor fields that the default image sets ------------------------------------
inline constexpr std::size_t kAlertTone = 0x2E;          ///< cboTone code
inline constexpr std::size_t kOption30 = 0x30;           ///< bit 2 alarm music type (0 = on)
inline constexpr std::size_t kMailDropAlertOn = 0x37;    ///< 2 bytes, 15 bits
inline constexpr std::size_t kOption39 = 0x39;           ///< read time out and options
inline constexpr std::size_t kBatteryLevelLow = 0x8D;    ///< then med 0x8E, high 0x8F
inline constexpr std::size_t kPersonalAlertLength = 0x90;
inline constexpr std::size_t kMailDropAlertLength = 0x91;  ///< 15 bytes
inline constexpr std::size_t kOutOfRangeAlertType = 0x4CD;
inline constexpr std::size_t kAlertToneKind = 0x4F9;
inline constexpr Span kTwelveCharText{0x532, 12};
inline constexpr std::size_t kReminderDuration = 0x53E;  ///< 2 bytes, little-endian
inline constexpr std::size_t kReminderToneType = 0x7F9;
inline constexpr std::size_t kMelodyLength = 16;
inline constexpr std::size_t kReminderMelody = 0xFC9;
inline constexpr std::size_t kOutOfRangeMelody = 0xFD9;
inline constexpr std::size_t kMusicTypes = 0x1610;       ///< 16 bytes per music page
inline constexpr std::size_t kMusicPageCount = 12;       ///< one page per four capcodes

// Default image ------------------------------------------------------------------
/// The five consecutive pieces of built-in data that the default image copies
/// over 0x000..0x7FF (general block, menu prompts, identity area, option area,
/// news prompts up to the checksum).
inline constexpr std::array<Span, 5> kDefaultLowPieces = {{
    {0x000, 256}, kMenuPromptBlock, {0x36C, 148}, {0x400, 320}, {0x540, 704}}};

// Checksum ranges -----------------------------------------------------------------
inline constexpr Span kTableChecksumRange{0x100, 621};   ///< 0x100..0x36C inclusive
inline constexpr Span kImageChecksumRange{0x000, 0x7FE}; ///< 0x000..0x7FD, without the write marker

/// One row of the image map: an inclusive range and what it holds.
struct RegionName {
    std::size_t first;
    std::size_t last;
    std::string_view name;
};

/// The image map, in address order, covering every byte once.
inline constexpr std::array kRegionMap = {
    RegionName{0x0000, 0x009F, "general parameter block"},
    RegionName{0x00A0, 0x00C7, "prompt records 0x0A0/0x0B4"},
    RegionName{0x00C8, 0x00EB, "other data"},
    RegionName{0x00EC, 0x00FF, "prompt record 0x0EC"},
    RegionName{0x0100, 0x036B, "menu prompt records"},
    RegionName{0x036C, 0x036F, "other data"},
    RegionName{0x0370, 0x03AF, "message types and display codes 1-8"},
    RegionName{0x03B0, 0x03B7, "other data"},
    RegionName{0x03B8, 0x03DF, "history prompt records"},
    RegionName{0x03E0, 0x03E0, "write marker"},
    RegionName{0x03E1, 0x03EF, "model identity"},
    RegionName{0x03F0, 0x03FF, "other data"},
    RegionName{0x0400, 0x044F, "key lock and charging prompts"},
    RegionName{0x0450, 0x04FC, "option bytes, prompts and serial number"},
    RegionName{0x04FD, 0x053F, "SSN, PSN and status bytes"},
    RegionName{0x0540, 0x07BF, "news prompt records"},
    RegionName{0x07C0, 0x07FD, "source enables, menu locks, alert settings"},
    RegionName{0x07FE, 0x07FF, "checksum"},
    RegionName{0x0800, 0x0D7F, "source-text block"},
    RegionName{0x0D80, 0x0F7F, "melody table"},
    RegionName{0x0F80, 0x0F97, "logo filler"},
    RegionName{0x0F98, 0x0FB7, "power-up logo lines"},
    RegionName{0x0FB8, 0x0FC1, "logo text filler"},
    RegionName{0x0FC2, 0x0FC8, "battery tone and R/W password"},
    RegionName{0x0FC9, 0x0FE8, "melody entries"},
    RegionName{0x0FE9, 0x0FFC, "prompt record 0xFE9"},
    RegionName{0x0FFD, 0x0FFF, "unused"},
    RegionName{0x1000, 0x10FF, "key selections"},
    RegionName{0x1100, 0x11FF, "encryption keys"},
    RegionName{0x1200, 0x1214, "capcode block"},
    RegionName{0x1215, 0x122C, "priority alert flags"},
    RegionName{0x122D, 0x1234, "capcode block"},
    RegionName{0x1235, 0x123C, "manual bitmap"},
    RegionName{0x123D, 0x1244, "capcode-on bitmap"},
    RegionName{0x1245, 0x1245, "capcode block"},
    RegionName{0x1246, 0x1246, "capcode count"},
    RegionName{0x1247, 0x127F, "capcode block"},
    RegionName{0x1280, 0x130F, "capcode slots"},
    RegionName{0x1310, 0x13FF, "capcode block"},
    RegionName{0x1400, 0x1403, "baud and polarity"},
    RegionName{0x1404, 0x140F, "capcode block"},
    RegionName{0x1410, 0x14AF, "message types 9-48"},
    RegionName{0x14B0, 0x14EF, "capcode block"},
    RegionName{0x14F0, 0x158F, "display codes 9-48"},
    RegionName{0x1590, 0x19FF, "capcode block"},
    RegionName{0x1A00, 0x25FF, "music-type pages"},
    RegionName{0x2600, 0x29FF, "unused"},
    RegionName{0x2A00, 0x4AFF, "source-text pages"},
    RegionName{0x4B00, 0x55FF, "unused text area"},
};

/// The name of the image-map region holding \p offset ("" outside the image).
constexpr std::string_view RegionNameAt(std::size_t offset) {
    for (const auto& r : kRegionMap)
        if (offset >= r.first && offset <= r.last) return r.name;
    return {};
}

// ---------------------------------------------------------------------------
// Frequency and capcode editors: add your constants here
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// Prompts, melodies and alerts: add your constants here
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// Options, passwords, alert lengths, keys: add your constants here
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// Programmer link: add your constants here
// ---------------------------------------------------------------------------

/// The identity bytes the link reads from a pager before a read or write.
inline constexpr Span kPagerIdentity = kIdentityForSave;  ///< 0x3E1..0x3EE
/// The serial number with its sum, as a write keeps it from the pager.
inline constexpr Span kPagerSerialWithSum{0x4D6, 14};    ///< 0x4D6..0x4E3
/// Status bytes the link clears after a read and before a write.
inline constexpr std::size_t kStatus530 = 0x530;
inline constexpr std::size_t kStatus531 = 0x531;
/// The same two bytes as one range: the pager's transfer status.
inline constexpr Span kTransferStatus{0x530, 2};

// ---------------------------------------------------------------------------
// OTA builder: add your constants here
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// Main window: the refresh's own fields (the hint-bound ones are in the hints)
// ---------------------------------------------------------------------------
inline constexpr std::size_t kTransferOptions = 0x36;   ///< bit 0 freq. modification (0 = on), bits 1-2 passwords
inline constexpr std::size_t kSequentialLockout = 0x3C; ///< bit 3 on, bit 2 longest, bits 0-1 step
inline constexpr std::size_t kOption3D = 0x3D;          ///< bit 3 out-of-range on, bits 1-2 step, bit 4 manual write (0 = on)
inline constexpr std::uint8_t kMenuCodeSpace = 0x20;    ///< an empty place of the menu code list
inline constexpr int kFirstMenuCode = 7;                ///< code of the first pager menu item

static_assert(kRegionMap.front().first == 0 && kRegionMap.back().last == kImageSize - 1);

}  // namespace zrv::layout
