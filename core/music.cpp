#include "core/music.h"

#include "core/option_fields.h"

#include <algorithm>
#include <span>
#include <stdexcept>

#include "core/index_check.h"

namespace zrv {
namespace {

// Codes by item, in the selectors' order.
constexpr std::uint8_t kMusicTypeCodes[kMusicTypeItemCount] = {0x08, 0x01, 0x02, 0x03, 0x04, 0x11, 0x12,
                                                               0x13, 0x14, 0x15, 0x16, 0x17, 0x18};
constexpr std::uint8_t kReminderToneCodes[kMusicTypeItemCount] = {0x15, 0x01, 0x09, 0x0A, 0x0B, 0x21, 0x22,
                                                                  0x23, 0x24, 0x25, 0x26, 0x27, 0x28};
constexpr std::uint8_t kAlertToneCodes[kAlertToneItemCount] = {0x01, 0x02, 0x03, 0x04, 0x11, 0x12, 0x13,
                                                               0x14, 0x15, 0x16, 0x17, 0x18, 0x20, 0x31};
constexpr int kVibrationItem = 12;
constexpr int kFlashOnlyItem = 13;
constexpr std::uint8_t kVibrationKind = 1;
constexpr std::uint8_t kFlashOnlyKind = 3;

constexpr std::uint16_t kReminderDurations[kReminderDurationItemCount] = {0, 7, 29, 171, 857, 5143};

constexpr std::size_t kMusicTypeBase = 0x1610;
constexpr std::size_t kMelodyBase = 0x1A00;
constexpr std::size_t kMelodyPageSize = 256;

std::span<const std::uint8_t> Codes(ToneSelector selector) {
    switch (selector) {
        case ToneSelector::MusicType: return kMusicTypeCodes;
        case ToneSelector::ReminderTone: return kReminderToneCodes;
        case ToneSelector::AlertTone: return kAlertToneCodes;
    }
    throw std::invalid_argument("unknown tone selector");
}

struct Note {
    char ch;
    std::uint8_t byte;
};
// "1" (on) shares byte 94 with "e"; the melody as a whole tells them apart.
constexpr Note kNotes[] = {{'0', 0},   {'C', 238}, {'D', 212}, {'E', 189}, {'F', 178}, {'G', 158},
                           {'A', 141}, {'B', 126}, {'c', 118}, {'d', 105}, {'e', 94},  {'f', 89},
                           {'g', 79},  {'a', 70},  {'b', 62},  {'1', 94}};
constexpr std::uint8_t kOnByte = 94;

bool IsNoteLetter(char32_t ch) { return (ch >= 'A' && ch <= 'G') || (ch >= 'a' && ch <= 'g'); }

std::string_view Trimmed(std::string_view text) {
    // Only spaces: a TAB or line end is a character the notation refuses.
    const auto blank = [](char c) { return c == ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

int ToneItemCount(ToneSelector selector) { return static_cast<int>(Codes(selector).size()); }

std::uint8_t ToneCode(ToneSelector selector, int item) {
    const auto codes = Codes(selector);
    CheckIndex(item, static_cast<int>(codes.size()), "tone item");
    return codes[static_cast<std::size_t>(item)];
}

std::optional<int> ToneItem(ToneSelector selector, std::uint8_t code) {
    const auto codes = Codes(selector);
    const auto it = std::find(codes.begin(), codes.end(), code);
    if (it == codes.end()) return std::nullopt;
    return static_cast<int>(it - codes.begin());
}

std::size_t MusicTypeOffset(int page, int row) {
    CheckIndex(page, kMusicPageCount, "music page");
    CheckIndex(row, kMusicRowsPerPage, "music row");
    return kMusicTypeBase + static_cast<std::size_t>(kMusicRowsPerPage * page + row);
}

std::size_t MelodyOffset(int page, int row) {
    CheckIndex(page, kMusicPageCount, "music page");
    CheckIndex(row, kMusicRowsPerPage, "music row");
    return kMelodyBase + kMelodyPageSize * static_cast<std::size_t>(page) +
           static_cast<std::size_t>(kMelodyLength * row);
}

int MusicRowCapcode(int page, int row) { return 4 * page + row / 4 + 1; }
int MusicRowFunctionBit(int row) { return row % 4; }

void StoreToneItem(ConfigImage& image, std::size_t offset, ToneSelector selector, int item) {
    image.setByte(offset, ToneCode(selector, item));
}

std::optional<int> ShownToneItem(const ConfigImage& image, std::size_t offset, ToneSelector selector) {
    return ToneItem(selector, image.byte(offset));
}

void StoreAlertTone(ConfigImage& image, int item) {
    image.setByte(kAlertToneOffset, ToneCode(ToneSelector::AlertTone, item));
    const std::uint8_t kind = item == kVibrationItem ? kVibrationKind : item == kFlashOnlyItem ? kFlashOnlyKind : 0;
    image.setByte(kAlertToneKindOffset, kind);
}

Outcome StoreCapcodeMusicType(ConfigImage& image, bool checked, bool setAlertMenuOff) {
    fields::kCapcodeMusicTypeOff.Set(image, checked ? 0 : 1);
    if (!setAlertMenuOff) return Outcome::Ok();
    return Outcome::Warned(checked ? Message("Msg75", "Default tones selection will be disable !")
                                   : Message("Msg76", "Default tones selection will be enable !"));
}

bool AlertToneOffered(bool setAlertMenuOff, bool capcodeMusicTypeEnabled) {
    return setAlertMenuOff && !capcodeMusicTypeEnabled;
}

std::uint16_t ReminderDurationValue(int item) {
    CheckIndex(item, kReminderDurationItemCount, "reminder duration item");
    return kReminderDurations[item];
}

std::optional<int> ReminderDurationItem(const ConfigImage& image) {
    const auto value = static_cast<std::uint16_t>(image.byte(kReminderDurationOffset) |
                                                  image.byte(kReminderDurationOffset + 1) << 8);
    const auto* end = std::end(kReminderDurations);
    const auto* it = std::find(std::begin(kReminderDurations), end, value);
    if (it == end) return std::nullopt;
    return static_cast<int>(it - std::begin(kReminderDurations));
}

void StoreReminderDuration(ConfigImage& image, int item) {
    const std::uint16_t value = ReminderDurationValue(item);
    image.setByte(kReminderDurationOffset, static_cast<std::uint8_t>(value & 0xFF));
    image.setByte(kReminderDurationOffset + 1, static_cast<std::uint8_t>(value >> 8));
}

bool IsMelodyCharacter(char32_t ch) { return IsNoteLetter(ch) || ch == '0' || ch == '1'; }

std::uint8_t MelodyNoteByte(char ch) {
    for (const Note& n : kNotes)
        if (n.ch == ch) return n.byte;
    return static_cast<std::uint8_t>(ch);
}

std::string MelodyText(const MelodyBytes& bytes) {
    const bool onOff = std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0 || b == kOnByte; });
    std::string text;
    for (const std::uint8_t b : bytes) {
        if (b == kOnByte) {
            text += onOff ? '1' : 'e';
            continue;
        }
        char shown = ' ';
        for (const Note& n : kNotes)
            if (n.byte == b) {
                shown = n.ch;
                break;
            }
        text += shown;
    }
    return text;
}

std::string PaddedMelodyText(std::string_view text) {
    std::string padded(Trimmed(text).substr(0, kMelodyLength));
    padded.resize(kMelodyLength, '0');
    return padded;
}

MelodyBytes EncodeMelody(std::string_view text) {
    const std::string padded = PaddedMelodyText(text);
    MelodyBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = MelodyNoteByte(padded[i]);
    return bytes;
}

MelodyBytes ReadMelody(const ConfigImage& image, std::size_t offset) {
    MelodyBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = image.byte(offset + i);
    return bytes;
}

Outcome StoreMelody(ConfigImage& image, std::size_t offset, std::string_view text) {
    // A 17th character or one outside the notation is refused (Msg77), not
    // cut or stored as its own byte; "1" mixed with notes is refused with
    // the message the key would get, as the bytes would show as another
    // melody.
    const std::string_view trimmed = Trimmed(text);
    if (trimmed.size() > static_cast<std::size_t>(kMelodyLength) ||
        !std::all_of(trimmed.begin(), trimmed.end(),
                     [](char c) { return IsMelodyCharacter(static_cast<unsigned char>(c)); }))
        return Outcome::Refused(MelodyKeyMessage("Msg77"));
    MelodyInput input;
    for (std::size_t k = 0; k < trimmed.size(); ++k) {
        const Outcome judged = input.key(static_cast<unsigned char>(trimmed[k]), k);
        if (!judged.ok) return judged;
    }
    const std::string padded = PaddedMelodyText(trimmed);
    const MelodyBytes bytes = EncodeMelody(padded);
    for (std::size_t i = 0; i < bytes.size(); ++i) image.setByte(offset + i, bytes[i]);
    return Outcome::Ok();
}

Message MelodyKeyMessage(const char* key) {
    // The melody messages name the model without its hyphen; "\xC2\xA1" "B"
    // is the pair of bytes 0xA1 0x42 of the factory texts.
    const std::string k = key;
    std::string english;
    if (k == "Msg74")
        english = "Please input 0 or 1 !";
    else if (k == "Msg55")
        english = "Please input A~G\xC2\xA1" "Ba~g or 0 !";
    else
        english = "Please input A~G\xC2\xA1" "Ba~g \xC2\xA1" "B0 or 1 !";
    return Message(k, english, MsgIcon::Exclamation, {}, "ZRV41K");
}

Outcome MelodyInput::key(char32_t ch, std::size_t trimmedLength) {
    if (trimmedLength >= static_cast<std::size_t>(kMelodyLength)) {
        // A full box takes no character; the next one typed decides again.
        mode_ = Mode::Undecided;
        return Outcome::Refused(MelodyKeyMessage("Msg77"));
    }
    if (mode_ == Mode::Undecided) {
        if (ch == '1') mode_ = Mode::OnOff;
        if (IsNoteLetter(ch)) mode_ = Mode::Notes;
    }
    switch (mode_) {
        case Mode::Undecided:
            if (!IsMelodyCharacter(ch)) return Outcome::Refused(MelodyKeyMessage("Msg77"));
            break;
        case Mode::OnOff:
            if (ch != '0' && ch != '1') return Outcome::Refused(MelodyKeyMessage("Msg74"));
            break;
        case Mode::Notes:
            if (!IsNoteLetter(ch) && ch != '0') return Outcome::Refused(MelodyKeyMessage("Msg55"));
            break;
    }
    return Outcome::Ok();
}

}  // namespace zrv
