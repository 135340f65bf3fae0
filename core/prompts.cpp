#include "core/prompts.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/image_layout.h"
#include "core/index_check.h"
#include "core/option_fields.h"
#include "core/text_field_sizes.h"

namespace zrv {
namespace L = layout;

namespace {

/// Record offsets of edtPrompt0..43 (the boxes 9, 22, 23, 32 and 37..40 are
/// filled but never shown).
constexpr std::array<std::size_t, kPromptBoxCount> kPromptOffsets = {
    0x100, 0x114, 0x204, 0x218, 0x22C, 0x330, 0x1A0, 0x1B4, 0x1C8, 0x2B8, 0x1F0,
    0x240, 0x1DC, 0x128, 0x164, 0x254, 0x178, 0x290, 0x2A4, 0x27C, 0x13C, 0x308,
    0x2E0, 0x4E4, 0x3B8, 0x3CC, 0x400, 0x414, 0x0A0, 0x268, 0x31C, 0x150, 0x2CC,
    0x4B8, 0x18C, 0x4A4, 0x43C, 0x48D, 0x479, 0x45C, 0x0EC, 0x0B4, 0x428, 0xFE9,
};

constexpr int kSpecialLead = 3;    ///< extra leading spaces of the special prompts
constexpr int kMaxLead = 15;       ///< the attribute's low nibble
constexpr std::size_t kSourceTextArea = 0x2A02;
constexpr std::size_t kSourcePageSize = 704;
constexpr std::size_t kSourceRecordSize = 44;
constexpr std::size_t kSourceEnableBytes = 0x7C0;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

void CheckSource(int page, int k) {
    CheckIndex(page, kMaxSourcePages, "source page");
    CheckIndex(k, kSourcesPerPage, "source");
}

}  // namespace

std::size_t PromptOffset(int tag) {
    CheckIndex(tag, kPromptBoxCount, "prompt box");
    return kPromptOffsets[static_cast<std::size_t>(tag)];
}

bool IsSpecialPrompt(int tag) { return tag == 3 || tag == 4 || tag == 21 || tag == 28; }

int PromptMaxLength(int tag, bool logoLargeFont) {
    CheckIndex(tag, kPromptBoxCount, "prompt box");
    return PromptFieldSize(tag, logoLargeFont).maxLength;
}

Message PromptTooLongMessage() {
    return Message{"Msg2", "Can not exceed 18 characters exclude left space !", MsgIcon::Exclamation, {}};
}

Outcome StorePromptText(ConfigImage& image, int tag, std::string_view text) {
    const std::size_t a = PromptOffset(tag);
    const std::string_view unindented = TrimLeft(text);
    if (unindented.size() > L::kPromptMaxText) return Outcome::Refused(PromptTooLongMessage());
    int lead = static_cast<int>(text.size() - unindented.size());
    if (IsSpecialPrompt(tag)) lead += kSpecialLead;
    std::string body;
    if (lead >= kMaxLead) {
        body.assign(static_cast<std::size_t>(lead - kMaxLead), ' ');
        lead = kMaxLead;
    }
    body += unindented;
    // Spaces beyond the nibble count as text: they must still fit the record.
    if (body.size() > L::kPromptMaxText) return Outcome::Refused(PromptTooLongMessage());
    image.setByte(a, static_cast<std::uint8_t>((image.byte(a) & 0xF0) | lead));
    if (tag == kLogoPrompt) fields::kPromptMode.Set(image, body == " " ? 0 : 2);
    image.setByte(a + 1, static_cast<std::uint8_t>(body.size()));
    image.write(a + L::kPromptTextOffset,
                std::span(reinterpret_cast<const std::uint8_t*>(body.data()), body.size()));
    return Outcome::Ok();
}

Message PagerTextMessage() {
    return Message{"MsgPagerText",
                   "A prompt or source text holds only characters of the Western European character set "
                   "(Windows-1252) and no control characters !"};
}

Outcome StoreTypedPrompt(ConfigImage& image, int tag, std::string_view utf8) {
    if (utf8 == Cp1252ToUtf8(ShownPromptText(image, tag))) return Outcome::Ok();
    const auto bytes = PagerTextBytes(utf8);
    if (!bytes) return Outcome::Refused(PagerTextMessage());
    return StorePromptText(image, tag, *bytes);
}

std::string ShownPromptText(const ConfigImage& image, int tag) {
    const std::size_t a = PromptOffset(tag);
    int lead = image.byte(a) & 0x0F;
    if (lead > 0 && IsSpecialPrompt(tag)) lead = (lead - kSpecialLead) & 0x0F;
    const std::size_t length = std::min<std::size_t>(image.byte(a + 1), L::kPromptMaxText);
    std::string text(static_cast<std::size_t>(lead), ' ');
    for (const std::uint8_t b : image.range(a + L::kPromptTextOffset, length)) text += static_cast<char>(b);
    return text;
}

std::string AlignText(std::string_view text, int maxLength, Alignment alignment) {
    const std::string_view trimmed = Trim(text);
    const int room = maxLength - static_cast<int>(trimmed.size());
    int lead = 0;
    if (alignment == Alignment::Centre) lead = room / 2;
    if (alignment == Alignment::Right) lead = room;
    return std::string(static_cast<std::size_t>(std::max(lead, 0)), ' ') + std::string(trimmed);
}

void ChangePromptLanguage(ConfigImage& image, int item) {
    CheckIndex(item, kLanguageCount, "prompt language");
    fields::kPromptMode.Set(image, 2);
    const auto code = static_cast<std::uint32_t>(kLanguageCodes[static_cast<std::size_t>(item)]);
    fields::kCharacterSetCode.Set(image, code);
    fields::kPromptLanguageCode.Set(image, code);
    WritePromptSet(image, item);
}

Outcome CentreLogo(ConfigImage& image) {
    const bool largeFont = fields::kLogoLargeFontOff.Get(image) == 0;
    const int maxLength = PromptMaxLength(kLogoPrompt, largeFont);
    const std::string shown = ShownPromptText(image, kLogoPrompt);
    // AlignText counts the room from the text without its spaces, so a box
    // made smaller never costs a letter.
    const std::string centred = AlignText(shown, maxLength, Alignment::Centre);
    if (centred == shown) return Outcome::Ok();
    return StorePromptText(image, kLogoPrompt, centred);
}

void StoreLogoFont(ConfigImage& image, int item) {
    CheckIndex(item, kLanguageCount, "logo font");
    fields::kLogoFontCode.Set(image, static_cast<std::uint32_t>(kLanguageCodes[static_cast<std::size_t>(item)]));
}

// Source texts ---------------------------------------------------------------------

int SourceTextsItem(const ConfigImage& image) { return fields::kSourceTextsOn.Get(image) ? 1 : 0; }

void StoreSourceTextsItem(ConfigImage& image, int item) {
    CheckIndex(item, 2, "source text item");
    fields::kSourceTextsOn.Set(image, item == 1 ? 1 : 0);
    fields::kSourceTextsFactoryFlag.Set(image, 0);
}

int SourceCapcode(int page, int k) {
    CheckSource(page, k);
    return page * 4 + k / 4 + 1;
}

bool SourceEnabled(const ConfigImage& image, int page, int k) {
    CheckSource(page, k);
    const std::size_t byte = kSourceEnableBytes + 2 * static_cast<std::size_t>(page) + static_cast<std::size_t>(k / 8);
    return image.GetImageBits(byte, 7 - k % 8, 1) != 0;
}

void StoreSourceEnabled(ConfigImage& image, int page, int k, bool on) {
    CheckSource(page, k);
    const std::size_t byte = kSourceEnableBytes + 2 * static_cast<std::size_t>(page) + static_cast<std::size_t>(k / 8);
    image.SetImageBits(byte, 7 - k % 8, on ? 1 : 0, 1);
}

std::size_t SourceLineOffset(int page, int k, int line) {
    CheckSource(page, k);
    CheckIndex(line, 2, "source line");
    return kSourceTextArea + kSourcePageSize * static_cast<std::size_t>(page) +
           kSourceRecordSize * static_cast<std::size_t>(k) + kSourceLineLength * static_cast<std::size_t>(line);
}

std::string SourceLine(const ConfigImage& image, int page, int k, int line) {
    const auto bytes = image.range(SourceLineOffset(page, k, line), kSourceLineLength);
    return std::string(bytes.begin(), bytes.end());
}

std::string StoreSourceLine(ConfigImage& image, int page, int k, int line, std::string_view text) {
    std::string padded(text.substr(0, kSourceLineLength));
    padded.resize(kSourceLineLength, ' ');
    image.write(SourceLineOffset(page, k, line),
                std::span(reinterpret_cast<const std::uint8_t*>(padded.data()), padded.size()));
    return padded;
}

Message SourceLineTooLongMessage() {
    return Message{"MsgSourceLength", "A source line holds at most 21 characters !"};
}

SourceLineResult StoreTypedSourceLine(ConfigImage& image, int page, int k, int line, std::string_view utf8) {
    CheckSource(page, k);
    CheckIndex(line, 2, "source line");
    // A line left as it shows stores nothing, so looking at a line loaded
    // from a file or a pager never refuses or rewrites it.
    const std::string shown = Cp1252ToUtf8(SourceLine(image, page, k, line));
    const auto withoutTrailingSpaces = [](std::string_view s) { return s.substr(0, s.find_last_not_of(' ') + 1); };
    if (withoutTrailingSpaces(utf8) == withoutTrailingSpaces(shown)) return {Outcome::Ok(), shown};
    const auto bytes = PagerTextBytes(utf8);
    if (!bytes) return {Outcome::Refused(PagerTextMessage()), {}};
    if (bytes->size() > static_cast<std::size_t>(kSourceLineLength))
        return {Outcome::Refused(SourceLineTooLongMessage()), {}};
    return {Outcome::Ok(), Cp1252ToUtf8(StoreSourceLine(image, page, k, line, *bytes))};
}

}  // namespace zrv
