#include "ota/ota_command.h"

#include <algorithm>
#include <optional>

#include "core/capcodes.h"
#include "core/image_layout.h"
#include "core/pager_charset.h"
#include "ota/blowfish.h"
#include "ota/crc16.h"
#include "ota/number_text.h"

namespace zrv::ota {

namespace L = zrv::layout;

namespace {

/// The enciphered and CRC-covered part starts after the public serial number.
constexpr std::size_t kSerialBits = 20;
/// The first fill pads the part after the serial number to whole cipher blocks.
constexpr std::size_t kFirstFillUnit = 64;
/// The second fill pads the whole command to whole 20-bit code words.
constexpr std::size_t kSecondFillUnit = 20;
/// Capcodes carried by type 1.
constexpr int kType1Capcodes = 7;
constexpr int kCapcodeDigits = 7;
/// Display code "Disable": sent for every function bit of a switched-off capcode.
constexpr std::uint8_t kDisplayDisable = 5;
/// Prompt texts of the OTA commands are always 18 characters.
constexpr std::size_t kOtaPromptLength = L::kPromptMaxText;
/// Digits of type 254's start address.
constexpr std::size_t kStartAddressDigits = 3;
/// The first prompt field of types 3-16: field 32 + selector.
constexpr int kSourcePromptBase = 32;
/// Language code table of the option set and the logo command, by combo index
/// ("English", "Spainish", "French", "German", "Swedish").
constexpr std::array<unsigned, 5> kOtaLanguageCodes = {0, 5, 6, 8, 0};

/// Thrown by the field readers when a text does not convert; BuildCommand
/// turns it into the standard conversion message.
struct ConversionError {
    std::string text;
};

/// The text as a hexadecimal number of at most 32 bits, or a conversion error.
std::uint32_t HexValue(const std::string& text) {
    const auto v = HexNumber(text);
    if (!v) throw ConversionError{text};
    return *v;
}

long long DecimalOrThrow(const std::string& text) {
    const auto v = DecimalNumber(text);
    if (!v) throw ConversionError{text};
    return *v;
}

long long DecimalOr(const std::string& text, long long fallback) {
    return DecimalNumber(text).value_or(fallback);
}

/// Characters \p from.. of \p text (at most \p n), empty past its end.
std::string Piece(const std::string& text, std::size_t from, std::size_t n) {
    return from < text.size() ? text.substr(from, n) : std::string();
}

/// A combo index as the builder uses it: no selection counts as the first item.
unsigned Index(int index) { return index < 0 ? 0u : static_cast<unsigned>(index); }

unsigned LanguageCode(int index) {
    const unsigned i = Index(index);
    return i < kOtaLanguageCodes.size() ? kOtaLanguageCodes[i] : 0;
}

unsigned Bit(bool state) { return state ? 1u : 0u; }
unsigned Inverted(bool state) { return state ? 0u : 1u; }

std::string Hex4(unsigned v) { return Hex2(v >> 8) + Hex2(v); }

/// The selector k of types 3..16: types 3-9 take 0, 4, .., 24; types 10-16
/// take 2, 6, .., 26.
int SourceSelector(int type) { return type <= 9 ? 4 * (type - 3) : 2 + 4 * (type - 10); }

}  // namespace

std::tm LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

bool IsUnofferedType(int type) { return (type >= 6 && type <= 9) || (type >= 13 && type <= 16); }

int TypeOfTag(int tag) { return tag == kRawDataBoxTag ? kTypeRawData : tag + 1; }

Message ConversionErrorMessage(const std::string& text) {
    return Message{"", "'" + text + "' is not a valid integer value", MsgIcon::Error, {text}};
}

OtaBuilder::OtaBuilder(Notifier& notifier) : notifier_(notifier), clock_(LocalNow) {}

void OtaBuilder::AppendSerialNumber(std::uint32_t psn) {
    for (int shift = 16; shift >= 0; shift -= 4) stream_.AppendBits((psn >> shift) & 0xF, 4);
}

void OtaBuilder::BuildHeader(const OtaWindowFields& window) {
    stream_.Clear();
    const std::uint32_t psn = HexValue(window.edtPSN);
    AppendSerialNumber(psn);

    if (window.chkDateField) {
        const std::tm now = clock_();
        const unsigned date[5] = {ToBcd(static_cast<unsigned>(now.tm_year + 1900) % 1000),
                                  ToBcd(static_cast<unsigned>(now.tm_mon + 1)),
                                  ToBcd(static_cast<unsigned>(now.tm_mday)),
                                  ToBcd(static_cast<unsigned>(now.tm_hour)),
                                  ToBcd(static_cast<unsigned>(now.tm_min))};
        headerText += "Date=";
        for (unsigned b : date) {
            stream_.AppendBits(b & 0xFF, 8);
            headerText += Hex2(b);
        }
    } else {
        for (std::size_t pair = 0; pair < 5; ++pair) {
            const long long v = DecimalOr(Piece(window.edtDateField, 2 * pair, 2), 0);
            stream_.AppendBits(v < 0 ? 0 : ToBcd(static_cast<unsigned>(v)) & 0xFF, 8);
        }
        headerText += "Date=" + window.edtDateField;
    }

    AppendSerialNumber(psn);
    headerText += "  SN=" + window.edtPSN;

    const unsigned pkg = ToBcd(packageNumber) & 0xFF;
    stream_.AppendBits(pkg, 8);
    headerText += "  Pkg No.=" + Hex2(pkg);
    ++packageNumber;

    const unsigned batch = ToBcd(batchNumber) & 0xFF;
    stream_.AppendBits(batch, 8);
    headerText += "  Bth No.=" + Hex2(batch);
    headerText += "  OTA Type=" + std::to_string(currentType);
}

void OtaBuilder::BuildCapcodes(const OtaMainFields& main, ConfigImage& image) {
    for (int n = 0; n < kType1Capcodes; ++n) {
        const std::string& cap = main.edtCap[static_cast<std::size_t>(n)];
        if (cap.size() < static_cast<std::size_t>(kCapcodeDigits)) throw ConversionError{cap};
        for (int j = 0; j < kCapcodeDigits; ++j) {
            const char c = cap[static_cast<std::size_t>(j)];
            if (c < '0' || c > '9') throw ConversionError{std::string(1, c)};
            stream_.AppendBits(static_cast<unsigned>(c - '0'), 4);
        }
        const bool on = CapcodeOn(image, n);
        int disabled = 0;
        for (int i = 0; i < 4; ++i) {
            stream_.AppendBits(PriorityAlert(image, n, i) ? 1 : 0, 1);
            const std::size_t display = DisplayCodeOffset(n, i);
            if (!on) image.setByte(display, kDisplayDisable);
            const std::uint8_t code = image.byte(display);
            if (code == kDisplayDisable) ++disabled;
            stream_.AppendBits(code & 0x7, 3);
        }
        if (disabled == 4) SetCapcodeOn(image, n, false);
        for (int i = 0; i < 4; ++i) stream_.AppendBits(image.byte(MessageTypeOffset(n, i)) & 0xF, 4);
        stream_.AppendBits(ToBcd(Index(main.cboMusicType[static_cast<std::size_t>(n)]) + 1) & 0xFF, 8);
    }
}

void OtaBuilder::BuildOptionSet(const OtaWindowFields& window, const OtaMainFields& main,
                                const OtaAlertFields& alert) {
    auto& s = stream_;
    s.AppendBits((Index(alert.cboPersonal) + 1) % 5, 4);
    s.AppendBits(Index(main.cboCtl7), 1);
    s.AppendBits(Inverted(main.chkBeepAndVibration), 1);
    s.AppendBits(Inverted(main.chkCapMusicType), 1);
    s.AppendBits(Bit(main.chkDirectShowLampOn), 1);
    s.AppendBits(Index(main.cboCtl4), 1);
    const unsigned slc = Index(main.cboSLC);
    s.AppendBits(slc == 0 ? 0 : 2 * slc - 1, 4);
    s.AppendBits(13 - Index(main.cboBatLev2), 4);
    s.AppendBits(13 - Index(main.cboBatLev1), 4);
    s.AppendBits(13 - Index(main.cboBatLev0), 4);
    s.AppendBits(Inverted(main.chkDiscardErrMsg), 1);
    s.AppendBits(Bit(main.chkCtl12), 1);
    s.AppendBits(Bit(main.chkCtl0), 1);
    s.AppendBits(Bit(main.chkPushKeyLampOn), 1);
    s.AppendBits(Index(window.cboAlertType), 2);
    s.AppendBits(Inverted(main.chkKeyboardInterlock), 1);
    s.AppendBits(Inverted(main.chkCtl10), 1);
    s.AppendBits(Bit(main.chkCtl11), 1);
    s.AppendBits(Bit(main.chkRDKeyPagerOff), 1);
    s.AppendBits(Bit(main.chkRDKeyDel), 1);
    s.AppendBits(LanguageCode(main.cboLng), 4);
    s.AppendBits(Inverted(main.chkCapMusicType), 1);  // the same box a second time
    s.AppendBits(Inverted(main.chkDuplicateMsgDetect), 1);
    s.AppendBits(Inverted(main.chkPriMusicType), 1);
    s.AppendBits(ToBcd(Index(main.cboPriType) + 1) & 0xFF, 8);
    s.AppendBits(0, 3);
    s.AppendBits(Inverted(main.chkGupMusicType), 1);
    s.AppendBits(ToBcd(Index(main.cboGroupType) + 1) & 0xFF, 8);
    s.AppendBits(Index(main.cboRDC), 3);
    s.AppendBits(Inverted(main.chkReminderSelectTone), 1);
    const long long reminder = main.chkReminder ? DecimalOrThrow(main.txtReminder) : 0;
    const auto reminderWord = static_cast<unsigned>(reminder) & 0xFFFF;
    s.AppendBits(reminderWord >> 8, 8);
    s.AppendBits(reminderWord & 0xFF, 8);
    s.AppendBits(ToBcd(Index(main.cboTone) + 1) & 0xFF, 8);
    for (int m : {3, 2, 1, 0}) s.AppendBits(Inverted(main.chkMenu[static_cast<std::size_t>(m)]), 1);
    s.AppendBits(Inverted(main.chkCtl16), 1);
    for (int m : {6, 5, 4}) s.AppendBits(Inverted(main.chkMenu[static_cast<std::size_t>(m)]), 1);
    s.AppendBits(Inverted(main.chkMailDropAlert), 1);
    s.AppendBits(Inverted(main.chkMoveToMemo), 1);
    s.AppendBits(Inverted(main.chkCtl18), 1);
    s.AppendBits(Inverted(main.chkCtl15), 1);
    const unsigned source = Index(main.cboSource);
    s.AppendBits(source == 0 ? 2u : (2u - source) * 2u + 1u, 2);
    // Mail-drop alerts in pairs, odd entry first; entry 14 pairs with 0.
    for (std::size_t odd = 1; odd < 15; odd += 2) {
        s.AppendBits(Index(alert.cboMailAlert[odd]), 2);
        s.AppendBits(Index(alert.cboMailAlert[odd - 1]), 2);
    }
    s.AppendBits(0, 2);
    s.AppendBits(Index(alert.cboMailAlert[14]), 2);
}

void OtaBuilder::AppendPrompt(const PromptField& field, ConfigImage& image) {
    std::string text = field.text;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (text.size() > kOtaPromptLength) text = text.substr(text.size() - kOtaPromptLength);
    text.resize(kOtaPromptLength, ' ');

    const int charset = PagerCharsetCode(image);
    for (char c : text) stream_.AppendBits(ToPagerCharset(charset, static_cast<std::uint8_t>(c)), 8);

    // The same 18 characters, unconverted, become the prompt's record with
    // start column 0.
    if (!field.record || *field.record > kImageSize - L::kPromptRecordSize) return;
    const std::size_t a = *field.record;
    image.SetImageBits(a, 0, 0, 4);
    image.setByte(a + 1, static_cast<std::uint8_t>(kOtaPromptLength));
    for (std::size_t i = 0; i < kOtaPromptLength; ++i)
        image.setByte(a + L::kPromptTextOffset + i, static_cast<std::uint8_t>(text[i]));
}

void OtaBuilder::BuildSourcePrompts(int type, const OtaMainFields& main, ConfigImage& image) {
    const int k = SourceSelector(type);
    stream_.AppendBits(Bit(main.chkSource[static_cast<std::size_t>(k + 1)]), 3);
    stream_.AppendBits(Bit(main.chkSource[static_cast<std::size_t>(k)]), 1);
    AppendPrompt(main.edtPrompt[static_cast<std::size_t>(kSourcePromptBase + k)], image);
    AppendPrompt(main.edtPrompt[static_cast<std::size_t>(kSourcePromptBase + k + 1)], image);
}

void OtaBuilder::BuildLogoPrompt(const OtaMainFields& main, ConfigImage& image) {
    stream_.AppendBits(LanguageCode(main.cboLogo), 4);
    AppendPrompt(main.edtPrompt[0], image);
}

void OtaBuilder::BuildRawData(const OtaWindowFields& window) {
    // The length field follows the data field; it can never promise more
    // digits than the data holds, nor more than its 8 bits carry.
    long long length = DecimalOrThrow(window.edtLength);
    length = std::clamp<long long>(length, 0, static_cast<long long>(std::min<std::size_t>(window.edtData.size(), 255)));
    stream_.AppendBits(static_cast<unsigned>(length), 8);
    // Leaving the field always makes three digits; a field short of them
    // cannot name an address.
    if (window.edtStart.size() < kStartAddressDigits) throw ConversionError{window.edtStart};
    for (std::size_t i = 0; i < kStartAddressDigits; ++i) stream_.AppendBits(HexValue(window.edtStart.substr(i, 1)), 4);
    for (std::size_t i = 0; i < static_cast<std::size_t>(length); ++i)
        stream_.AppendBits(HexValue(window.edtData.substr(i, 1)), 4);
}

void OtaBuilder::BuildLastCommand(const OtaWindowFields& window) {
    for (const std::string* prompt : {&window.Edit1, &window.Edit2}) {
        std::string bytes = prompt->substr(0, std::min(prompt->size(), kOtaPromptLength));
        bytes.resize(kOtaPromptLength, ' ');
        for (char c : bytes) stream_.AppendBits(static_cast<std::uint8_t>(c), 8);
    }
    stream_.AppendBits(ToBcd(batchNumber) & 0xFF, 8);
    unsigned packages = 0;
    if (window.chkPkg) {
        packages = static_cast<unsigned>(std::count(window.chkCmd.begin(), window.chkCmd.end(), true));
    } else {
        const long long v = DecimalOr(window.edtPkg, 0);
        packages = v < 0 ? 0 : static_cast<unsigned>(v);
    }
    stream_.AppendBits(ToBcd(packages) & 0xFF, 8);
    packageNumber = static_cast<std::uint8_t>(packages);
}

void OtaBuilder::FinishCommand(const OtaWindowFields& window) {
    const std::uint16_t crc = CommandCrc(stream_);
    stream_.AppendBits(crc >> 8, 8);
    stream_.AppendBits(crc & 0xFF, 8);
    headerText += "  CRC=" + Hex4(crc);

    // Fills go in whole nibbles, so a stream not on a nibble boundary ends up
    // to 3 bits past the target.
    const std::size_t first = (kFirstFillUnit - (stream_.count() - kSerialBits) % kFirstFillUnit) % kFirstFillUnit;
    for (std::size_t added = 0; added < first; added += 4) stream_.AppendBits(0, 4);
    headerText += "  Fill Bits=" + std::to_string(first);

    if (transmitFlag) {
        const std::size_t second = (kSecondFillUnit - stream_.count() % kSecondFillUnit) % kSecondFillUnit;
        for (std::size_t added = 0; added < second; added += 4) stream_.AppendBits(0, 4);
        headerText += "  Fill Norvex2=" + std::to_string(second);
    }

    if (window.chkEncypt) EncipherStream(stream_, KeyFromSecretSerial(window.edtSSN));
    dataString_ = stream_.ToHex();
}

bool OtaBuilder::BuildCommand(int type, const OtaWindowFields& window, const OtaMainFields& main,
                              const OtaAlertFields& alert, ConfigImage& image) {
    if (IsUnofferedType(type) || type < 1 || (type > 17 && type != kTypeRawData && type != kTypeLast)) {
        notifier_.show(Message{"",
                               "OTA command type " + std::to_string(type) +
                                   " is not offered: it would need prompt fields that do not exist.",
                               MsgIcon::Exclamation,
                               {std::to_string(type)}});
        return false;
    }
    // Work on copies so that a conversion error leaves the image and the
    // counters exactly as they were.
    ConfigImage work = image;
    const std::uint8_t savedPackage = packageNumber;
    const std::string savedHeader = headerText;
    try {
        BuildHeader(window);
        stream_.AppendBits(static_cast<unsigned>(type), 8);
        if (type == 1)
            BuildCapcodes(main, work);
        else if (type == 2)
            BuildOptionSet(window, main, alert);
        else if (type <= 16)
            BuildSourcePrompts(type, main, work);
        else if (type == 17)
            BuildLogoPrompt(main, work);
        else if (type == kTypeRawData)
            BuildRawData(window);
        else
            BuildLastCommand(window);
        FinishCommand(window);
    } catch (const ConversionError& e) {
        packageNumber = savedPackage;
        headerText = savedHeader;
        dataString_.clear();
        notifier_.show(ConversionErrorMessage(e.text));
        return false;
    }
    image = work;
    if (type == kTypeLast) batchNumber = static_cast<std::uint8_t>((batchNumber + 1) % 100);
    return true;
}

void OtaBuilder::BuildTimeMessage(const OtaWindowFields& window) {
    stream_.Clear();
    auto pair = [&](std::size_t at) {
        const long long v = DecimalOr(Piece(window.edtDate, at, 2), 0);
        return v < 0 ? 0u : ToBcd(static_cast<unsigned>(v)) & 0xFF;
    };
    stream_.AppendBits(pair(0), 8);  // day
    stream_.AppendBits(pair(2), 8);  // month
    const long long yearValue = DecimalOr(Piece(window.edtDate, 4, 4), 0);
    const unsigned year = yearValue < 0 ? 0u : ToBcd(static_cast<unsigned>(yearValue)) & 0xFFFF;
    stream_.AppendBits(year >> 8, 8);
    stream_.AppendBits(year & 0xFF, 8);
    stream_.AppendBits(pair(8), 8);   // hour
    stream_.AppendBits(pair(10), 8);  // minute
    stream_.AppendBits(pair(12), 8);  // second
    dataString_ = stream_.ToHex();
}

std::string OtaBuilder::TimeMessageLine(const OtaWindowFields& window) const {
    return "TIME RIC:Capcode = " + window.edtTMID + "   Format = " + dataString_;
}

}  // namespace zrv::ota
