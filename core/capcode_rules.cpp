#include "core/capcode_rules.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "core/capcodes.h"
#include "core/image_layout.h"
#include "core/index_check.h"

namespace zrv {
namespace L = layout;

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// The texts of function bits A..D, each made by \p make, joined.
template <typename MakeText>
std::string PerFunctionBit(MakeText make) {
    std::string text;
    for (int f = 0; f < static_cast<int>(L::kFunctionBits); ++f) text += make(f);
    return text;
}
}  // namespace

int CapcodeNumber(int page, int slot) {
    CheckIndex(page, kCapcodePageCount, "capcode page");
    CheckIndex(slot, kCapcodeSlotsPerPage, "capcode slot");
    return page * kCapcodeSlotsPerPage + slot;
}

Message CapcodeNotNumericMessage() { return Message{"Msg47", "Please insert a numeric !"}; }

Outcome CheckCapcodeKey(char32_t ch) {
    if (ch < 0x20 || (ch >= U'0' && ch <= U'9')) return Outcome::Ok();
    return Outcome::Refused(CapcodeNotNumericMessage());
}

Outcome StoreCapcodeText(ConfigImage& image, int n, std::string_view text) {
    CapcodeSlotOffset(n);  // an n outside 0..47 throws before anything is judged
    if (text.empty()) return Outcome{false, std::nullopt};
    if (!std::all_of(text.begin(), text.end(), IsDigit))
        return Outcome::Refused(CapcodeNotNumericMessage());
    // All digits, yet too long to parse: far above the largest capcode.
    const auto value = ParseCapcodeText(text);
    if (!value) return Outcome::Refused(CapcodeRangeMessage());
    Outcome checked = CheckCapcodeValue(*value);
    if (checked.ok) SetCapcode(image, n, static_cast<std::uint32_t>(*value));
    return checked;
}

std::string CapcodeText(const ConfigImage& image, int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%07u", static_cast<unsigned>(CapcodeAt(image, n)));
    return text;
}

void StoreCapcodeOnBox(ConfigImage& image, int page, int slot, bool checked) {
    SetCapcodeOn(image, CapcodeNumber(page, slot), checked);
}

void StoreCapcodeManualBox(ConfigImage& image, int page, int slot, bool checked) {
    SetCapcodeManual(image, CapcodeNumber(page, slot), checked);
}

void StoreFunctionBitDisplay(ConfigImage& image, int n, int f, int item) {
    const std::size_t offset = DisplayCodeOffset(n, f);
    CheckIndex(item, static_cast<int>(kDisplayItems.size()), "display item");
    image.setByte(offset, static_cast<std::uint8_t>(item));
}

void StoreFunctionBitType(ConfigImage& image, int n, int f, int item) {
    const std::size_t offset = MessageTypeOffset(n, f);
    CheckIndex(item, static_cast<int>(kMessageTypeItems.size()), "message type item");
    image.setByte(offset, item == kGroupTypeItem ? kMessageTypeGroup : static_cast<std::uint8_t>(item));
}

std::optional<int> FunctionBitDisplayItem(const ConfigImage& image, int n, int f) {
    const std::uint8_t code = image.byte(DisplayCodeOffset(n, f));
    if (code >= kDisplayItems.size()) return std::nullopt;
    return code;
}

std::optional<int> FunctionBitTypeItem(const ConfigImage& image, int n, int f) {
    const std::uint8_t type = image.byte(MessageTypeOffset(n, f));
    if (type == kMessageTypeGroup) return kGroupTypeItem;
    if (type >= kGroupTypeItem) return std::nullopt;
    return type;
}

std::string PrioritySummary(const ConfigImage& image, int n) {
    return PerFunctionBit([&](int f) { return PriorityAlert(image, n, f) ? "v" : "-"; });
}

std::string DisplaySummary(const ConfigImage& image, int n) {
    return PerFunctionBit(
        [&](int f) { return std::string(1, DisplayCodeLetter(image.byte(DisplayCodeOffset(n, f)))); });
}

std::string TypeSummary(const ConfigImage& image, int n) {
    return PerFunctionBit([&](int f) { return MessageTypeLetters(image.byte(MessageTypeOffset(n, f))); });
}

}  // namespace zrv
