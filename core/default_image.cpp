#include "core/default_image.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "core/capcodes.h"
#include "core/cp1252.h"
#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/option_fields.h"

namespace zrv {
namespace L = layout;

// Version texts -------------------------------------------------------------------

std::string MainWindowCaption() { return "ZRV41K USB Version " + std::string(kVersionDigits); }
static_assert(kProgramVersion.substr(1, 4) == kVersionDigits, "the digits follow the V");

std::string AboutVersionText() {
    return "Version " + std::string(kVersionDigits) + "(" + std::string(kBuildDate) + ")";
}

// Default image ---------------------------------------------------------------------

namespace {

// Byte values of the default image that the editors show (names follow the
// controls that display them).
constexpr std::uint32_t kDefaultBaseFrequency = 1370000;
constexpr std::uint32_t kDefaultChannelFrequency = 1530000;
constexpr std::uint8_t kDefaultPllN[] = {0x00, 0xB4, 0xA0};
constexpr std::uint8_t kDefaultPllR[] = {0x00, 0x28, 0x01};
constexpr std::uint16_t kDefaultIncd = 0x0002;
constexpr std::uint8_t kDefaultStep = 5;
constexpr std::uint8_t kDefaultStepFraction = 0xFF;  // reads as 0
constexpr std::uint8_t kDefaultFirmware = 0x34;
constexpr std::uint32_t kDefaultCapcodes[] = {1234567, 1234560, 1234561, 1234562,
                                              1234563, 1234564, 1234565, 1234566};
constexpr std::uint8_t kDefaultDisplayCode = 2;      // "Alpha"
constexpr std::uint8_t kDefaultCapcodeCountByte = 0x30;
constexpr std::uint8_t kToneOne = 0x01;              // "Tone 1" in every tone selector
constexpr std::uint8_t kDefaultMenuCodes[] = {0x07, 0x08, 0x09, 0x0A, 0x0C, 0x0D, 0x0E};
constexpr std::uint8_t kDefaultContrast = 4;
constexpr std::uint8_t kDefaultBatteryLevels[] = {121, 132, 142};  // low, med, high
constexpr std::uint8_t kDefaultPersonalAlert = 8;   // seconds
constexpr std::uint8_t kMenuItemOn = 0xFF;           // 0x7E0..0x7E4: item not switched off

using layout::Span;

// Melodies of the default melody table, in the pager's note bytes
// (C D E F G A B = 238 212 189 178 158 141 126, c..b = 118 105 94 89 79 70 62,
// 0 = rest, 94 = on in on/off melodies).
constexpr std::uint8_t kNoteC = 238, kNoteD = 212, kNoteE = 189, kNoteF = 178, kNoteG = 158,
                       kNoteA = 141, kNoteB = 126, kNoteHighC = 118, kRest = 0, kOn = 94;
constexpr std::array<std::array<std::uint8_t, 16>, 4> kDefaultMelodies = {{
    {kNoteC, kNoteE, kNoteG, kNoteHighC, kRest, kNoteHighC, kNoteG, kNoteE, kNoteC, kRest, kRest,
     kRest, kRest, kRest, kRest, kRest},
    {kNoteG, kNoteF, kNoteE, kNoteD, kNoteC, kRest, kNoteG, kNoteF, kNoteE, kNoteD, kNoteC, kRest,
     kRest, kRest, kRest, kRest},
    {kOn, kOn, kRest, kOn, kOn, kRest, kOn, kOn, kRest, kRest, kRest, kRest, kRest, kRest, kRest,
     kRest},
    {kNoteC, kNoteC, kNoteG, kNoteG, kNoteA, kNoteA, kNoteG, kRest, kNoteF, kNoteF, kNoteE, kNoteE,
     kNoteD, kNoteD, kNoteC, kRest},
}};
static_assert(kNoteB != kNoteHighC);

void writeAscii(ConfigImage& image, std::size_t offset, std::string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k)
        image.setByte(offset + k, static_cast<std::uint8_t>(text[k]));
}

void writePrompt(ConfigImage& image, std::size_t offset, const PromptText& prompt) {
    image.write(offset, PromptRecordBytes(prompt));
}

// A prompt record whose default text BuildDefaultImage writes later: empty,
// padded with 0xFF.
void blankPrompt(ConfigImage& image, std::size_t offset) {
    image.fill(offset, L::kPromptRecordSize, 0xFF);
    image.setByte(offset, 0);
    image.setByte(offset + 1, 0);
}

void buildGeneralBlock(ConfigImage& d) {
    d.fill(L::kGeneralBlock.offset, L::kGeneralBlock.length, 0x00);
    d.write(L::kPllN, kDefaultPllN);
    d.write(L::kPllR, kDefaultPllR);
    d.setWord(L::kIncd, kDefaultIncd);
    d.setByte(L::kChannelStep, kDefaultStep);
    d.setByte(L::kAlertTone, kToneOne);
    // Capcode, reminder, group, priority music types and keyboard interlock
    // off (these check boxes show a 0 bit as checked); large logo font on.
    d.setByte(L::kOption2F, 0b1011'0011);
    d.setByte(L::kOption30, 0b0000'0100);         // alarm music type off
    d.setByte(L::kOption31, 0b1100'0000);      // RD key switch alert off, bit 6 set
    d.setByte(L::kTransferOptions, 0b0000'0001);         // frequency modification not enabled
    d.setByte(L::kOption39, 0b0101'0000);         // 8 s read time out, duplicate detect, low cell alert
    d.setByte(L::kCharsetCode, kLanguageCodes[kLanguageGerman]);
    d.setByte(L::kPromptMode, 0b0000'0010);    // prompt mode 2, source texts disabled
    d.setByte(L::kOption3D, 0b0011'0000);         // manual write off, menu list flag
    d.setByte(L::kPromptLanguage, kLanguageCodes[kLanguageGerman]);
    d.setByte(L::kLogoFont, kLanguageCodes[kLanguageGerman]);
    SetBaseFrequency(d, kDefaultBaseFrequency);
    SetChannelFrequency(d, kDefaultChannelFrequency);
    d.write(L::kMenuCodes.offset, kDefaultMenuCodes);
    d.setByte(L::kContrast, kDefaultContrast);
    d.write(L::kBatteryLevelLow, kDefaultBatteryLevels);
    d.setByte(L::kPersonalAlertLength, kDefaultPersonalAlert);  // mail drops stay off
}

void buildLowPrompts(ConfigImage& d) {
    d.fill(L::kPromptFlashOnly, L::kPromptPinWrong + L::kPromptRecordSize - L::kPromptFlashOnly, 0);
    writePrompt(d, L::kPromptFlashOnly, {0x07, "FLASH ONLY"});
    blankPrompt(d, L::kPromptOutOfRange);
    blankPrompt(d, L::kPromptPinWrong);
}

void buildIdentityArea(ConfigImage& d) {  // 0x36C..0x3FF
    d.fill(L::kMenuPromptBlock.end(), L::kPromptKeyUnlocked - L::kMenuPromptBlock.end(), 0);
    for (int n = 0; n < 8; ++n)
        for (int f = 0; f < 4; ++f) d.setByte(DisplayCodeOffset(n, f), kDefaultDisplayCode);
    StampDefaultIdentity(d);
}

void buildOptionArea(ConfigImage& d) {  // 0x400..0x53F
    d.fill(L::kPromptKeyUnlocked, L::kNewsPrompts - L::kPromptKeyUnlocked, 0);
    writePrompt(d, L::kPromptKeyUnlocked, {0x43, "KEY UNLOCKED ?"});
    writePrompt(d, L::kPromptKeyLocked, {0x45, "KEY LOCKED"});
    writePrompt(d, L::kPromptCharging, {0x46, "CHARGING"});
    writePrompt(d, L::kPromptKeyLockedAsk, {0x44, "KEY LOCKED ?"});
    d.setByte(L::kOption457, 0b0010'0000);     // narrowband
    d.setByte(L::kOption458, 0b1000'0111);     // OTA, AES off; capcode music types off
    d.setByte(L::kFirmwareVersion, kDefaultFirmware);
    d.setByte(L::kStepFraction, kDefaultStepFraction);
    blankPrompt(d, L::kPromptPinCode);
    blankPrompt(d, L::kPromptPasswordWrong);
    blankPrompt(d, L::kPromptReadPassword);
    d.setByte(L::kOption4A1, 0b1100'0001);     // PIN code off, one-line logo
    d.setByte(L::kOption4A2, 0x29);
    blankPrompt(d, L::kPromptCapcodeSet);
    blankPrompt(d, L::kPromptSetCapcode);
    d.setByte(L::kOutOfRangeAlertType, kToneOne);
    d.fill(L::kPagerSerial.offset, L::kPagerSerial.length + 2, 0xFF);  // no serial number yet
    writePrompt(d, L::kPromptMailDrop, {0x43, "MAIL DROP AREA"});
    d.setByte(L::kOption4F8, 0x29);
    d.setByte(L::kOption4FC, 0b0000'0111);     // rechargeable, out-of-range alert off
    d.setByte(L::kGroupCode, 0x01);            // group code in use
    d.setByte(L::kFixedByte520, L::kFixedByte520Value);
    d.fill(L::kTwelveCharText.offset, L::kTwelveCharText.length, ' ');
}

void buildNewsArea(ConfigImage& d) {  // 0x540..0x7FF
    d.fill(L::kNewsPrompts, L::kChecksum + 2 - L::kNewsPrompts, 0);
    for (std::size_t k = 0; k < L::kNewsPromptCount; ++k)
        writePrompt(d, L::kNewsPrompts + k * L::kPromptRecordSize,
                    {0x05, "NEWS " + std::to_string(k + 1)});
    // Every source text enabled in the built-in data; start-up clears them.
    d.fill(L::kStartupZeroed.offset, L::kStartupZeroed.length, 0xFF);
    d.fill(L::kMenuLocks.offset, L::kMenuLocks.length, kMenuItemOn);
    d.setByte(L::kReminderToneType, kToneOne);
}

void buildSourceBlock(ConfigImage& d) {
    d.fill(L::kSourceTextBlock.offset, L::kSourceTextBlock.length, ' ');
    for (std::size_t k = 0; k < L::kSourceTextBlock.length / L::kSourceRecordSize; ++k)
        writeAscii(d, L::kSourceTextBlock.offset + k * L::kSourceRecordSize + 5,
                   "News " + std::to_string(k + 1));
}

void buildMelodyBlock(ConfigImage& d) {
    for (std::size_t k = 0; k < L::kMelodyTable.length / 16; ++k)
        d.write(L::kMelodyTable.offset + 16 * k, kDefaultMelodies[k % kDefaultMelodies.size()]);
}

void buildLogoBlock(ConfigImage& d) {  // 0xF80..0xFFF
    d.fill(L::kLogoFiller.offset, L::kLogoFiller.length, 0x08);
    d.fill(L::kLogoLine1, L::kBatteryLowTone - L::kLogoLine1, ' ');
    d.setByte(L::kBatteryLowTone, 0x1E);
    writeAscii(d, L::kRwPassword.offset, kDefaultRwPassword);
    d.write(L::kReminderMelody, kDefaultMelodies[2]);
    d.write(L::kOutOfRangeMelody, kDefaultMelodies[0]);
    writePrompt(d, L::kPromptDiscrete, {0x06, "DISCRETE"});
    d.fill(L::kPromptDiscrete + L::kPromptRecordSize,
           L::kLogoBlock.end() - L::kPromptDiscrete - L::kPromptRecordSize, 0xFF);
}

void buildCapcodeBlock(ConfigImage& d) {  // 0x1215..0x19FF
    const auto b = L::kCapcodeDefaultsBlock;
    d.fill(b.offset, b.length, 0x00);
    SetCapcodeOn(d, 0, true);
    d.setByte(L::kCapcodeCount, kDefaultCapcodeCountByte);
    for (int n = 0; n < 8; ++n) SetCapcode(d, n, kDefaultCapcodes[n]);
    ApplyBaudItem(d, kBaud1200);
    fields::kPolarityInverted.Set(d, 0);
    for (int n = 8; n < L::kMaxCapcodes; ++n)
        for (int f = 0; f < 4; ++f) d.setByte(DisplayCodeOffset(n, f), kDefaultDisplayCode);
    d.fill(L::kMusicTypes, 16 * L::kMusicPageCount, kToneOne);
}

/// The built-in default data, each piece at the offset it is copied to.
const ConfigImage& defaultData() {
    static const ConfigImage data = [] {
        ConfigImage d;
        d.fill(0, kImageSize, 0xFF);
        buildGeneralBlock(d);
        buildLowPrompts(d);
        buildIdentityArea(d);
        WritePromptSet(d, kLanguageGerman);  // menu records and the history pair
        buildOptionArea(d);
        buildNewsArea(d);
        StoreTableChecksum(d);
        buildSourceBlock(d);
        buildMelodyBlock(d);
        buildLogoBlock(d);
        buildCapcodeBlock(d);
        return d;
    }();
    return data;
}

constexpr bool lowPiecesAreConsecutive() {
    std::size_t at = 0;
    for (const Span piece : L::kDefaultLowPieces) {
        if (piece.offset != at) return false;
        at = piece.end();
    }
    return at == L::kSourceTextBlock.offset;
}
static_assert(lowPiecesAreConsecutive(), "the five pieces fill 0x000..0x7FF");

void copyPiece(ConfigImage& image, const ConfigImage& data, std::size_t from, std::size_t length,
               std::size_t to) {
    image.write(to, data.range(from, length));
}

}  // namespace

void BuildDefaultImage(ConfigImage& image) {
    const ConfigImage& d = defaultData();
    // Everything 0xFF.
    image.fill(0, kImageSize, 0xFF);
    // The default blocks.
    for (const Span piece : L::kDefaultLowPieces)
        copyPiece(image, d, piece.offset, piece.length, piece.offset);
    copyPiece(image, d, L::kHistoryPromptBlock.offset, L::kHistoryPromptBlock.length,
              L::kHistoryPromptBlock.offset);
    const auto src = L::kSourceTextBlock;
    copyPiece(image, d, src.offset, src.length, src.offset);
    for (std::size_t pair = 0; pair < 4; ++pair)
        copyPiece(image, d, src.offset, src.length, L::kSourcePages + 2 * L::kSourcePageSize * pair);
    const auto mel = L::kMelodyTable;
    copyPiece(image, d, mel.offset, mel.length, mel.offset);
    for (std::size_t k = 0; k < 4; ++k)
        copyPiece(image, d, mel.offset, mel.length, L::kMusicTypePages + mel.length * k);
    copyPiece(image, d, L::kLogoBlock.offset, L::kLogoBlock.length, L::kLogoBlock.offset);
    const auto cap = L::kCapcodeDefaultsBlock;
    copyPiece(image, d, cap.offset, cap.length, cap.offset);
    // The default prompt texts; the rest of each record keeps its padding.
    const struct { std::size_t offset; std::uint8_t attribute; std::string_view text; } prompts[] = {
        {L::kPromptSetCapcode, 0x05, "RIC Setzen"},
        {L::kPromptCapcodeSet, 0x45, "CAPCODE SET"},
        {L::kPromptReadPassword, 0x03, "Passwort lesen"},
        {L::kPromptPasswordWrong, 0x43, "Passwort falsch"},
        {L::kPromptPinCode, 0x06, "PIN Code"},
        {L::kPromptOutOfRange, 0x24, "Out Of Range"},
        {L::kPromptPinWrong, 0x43, "PIN Code falsch"},
    };
    for (const auto& p : prompts) {
        image.setByte(p.offset, p.attribute);
        image.setByte(p.offset + 1, static_cast<std::uint8_t>(p.text.size()));
        writeAscii(image, p.offset + L::kPromptTextOffset, p.text);
    }
    // The distributor logo on both logo lines.
    writeAscii(image, L::kLogoLine1, kDefaultLogoLine);
    writeAscii(image, L::kLogoLine2, kDefaultLogoLine);
    // Zeroed bytes and the R/W password.
    image.fill(L::kDefaultZeroed470.offset, L::kDefaultZeroed470.length, 0);
    writeAscii(image, L::kRwPassword.offset, kDefaultRwPassword);
    // Fields.
    fields::kPinFactoryFlags.Set(image, 0);
    fields::kOutOfRangeLongestMinutes.Set(image, 0x0F);
    fields::kOutOfRangeLongestOff.Set(image, 1);
    image.setByte(L::kBatteryLowTone, 0x1E);
    fields::kVibrateOffInChargerOff.Set(image, 1);
    fields::kRdKeyFactoryFlag.Set(image, 1);
    fields::kLogoLargeFontOff.Set(image, 0);
    fields::kChargerFactoryFlag.Set(image, 0);
    fields::kOneLineLogo.Set(image, 1);
    fields::kLogoFactoryFlags.Set(image, 0);
    image.setByte(L::kFixedByte520, L::kFixedByte520Value);
    // The model identity text.
    StampDefaultIdentity(image);
}

ConfigImage StartupImage() {
    ConfigImage image;
    BuildDefaultImage(image);
    image.fill(L::kStartupZeroed.offset, L::kStartupZeroed.length, 0);
    return image;
}

}  // namespace zrv
