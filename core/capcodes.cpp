#include "core/capcodes.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "core/image_layout.h"

namespace zrv {
namespace L = layout;

namespace {
void checkCapcode(int n) {
    if (n < 0 || n >= L::kMaxCapcodes)
        throw std::out_of_range("capcode number " + std::to_string(n) + " outside 0..47");
}
void checkFunctionBit(int f) {
    if (f < 0 || f >= static_cast<int>(L::kFunctionBits))
        throw std::out_of_range("function bit " + std::to_string(f) + " outside 0..3");
}
std::size_t pageByte(std::size_t bitmap, int n) { return bitmap + static_cast<std::size_t>(n / 8); }
int pageBit(int n) { return 7 - n % 8; }
}  // namespace

Message CapcodeRangeMessage() {
    return Message{"Msg48", "Please insert a number between 0000007 to 2097151 !"};
}

Outcome CheckCapcodeValue(std::uint64_t value) {
    return CapcodeInRange(value) ? Outcome::Ok() : Outcome::Refused(CapcodeRangeMessage());
}

Outcome RaiseCapcode(ConfigImage& image, int n, int fieldIndex) {
    const std::uint32_t value = CapcodeAt(image, n);
    if (value >= kMaxCapcode) {
        const std::string field = std::to_string(fieldIndex + 1);
        return Outcome::Refused(Message{"Msg25",
                                        "Capcode " + field + " > " + std::to_string(kMaxCapcode) +
                                            " so can not be increase!",
                                        MsgIcon::Exclamation,
                                        {field}});
    }
    Outcome checked = CheckCapcodeValue(value + 1);
    if (checked.ok) SetCapcode(image, n, value + 1);
    return checked;
}

std::size_t CapcodeSlotOffset(int n) {
    checkCapcode(n);
    return L::kCapcodeSlots + L::kCapcodeSlotSize * static_cast<std::size_t>(n);
}

std::uint32_t CapcodeAt(const ConfigImage& image, int n) {
    const auto o = CapcodeSlotOffset(n);
    const std::uint32_t raw = (std::uint32_t{image.byte(o)} << 16) |
                              (std::uint32_t{image.byte(o + 1)} << 8) | image.byte(o + 2);
    return raw / 8;
}

void SetCapcode(ConfigImage& image, int n, std::uint32_t capcode) {
    const auto o = CapcodeSlotOffset(n);
    const std::uint32_t raw = (capcode & kMaxCapcode) * 8;
    image.setByte(o, static_cast<std::uint8_t>(raw >> 16));
    image.setByte(o + 1, static_cast<std::uint8_t>(raw >> 8));
    image.setByte(o + 2, static_cast<std::uint8_t>(raw));
}

bool CapcodeOn(const ConfigImage& image, int n) {
    checkCapcode(n);
    return image.GetImageBits(pageByte(L::kCapcodeOnBitmap, n), pageBit(n), 1) == 1;
}
void SetCapcodeOn(ConfigImage& image, int n, bool on) {
    checkCapcode(n);
    image.SetImageBits(pageByte(L::kCapcodeOnBitmap, n), pageBit(n), on ? 1 : 0, 1);
}
bool CapcodeManual(const ConfigImage& image, int n) {
    checkCapcode(n);
    return image.GetImageBits(pageByte(L::kManualBitmap, n), pageBit(n), 1) == 1;
}
void SetCapcodeManual(ConfigImage& image, int n, bool manual) {
    checkCapcode(n);
    image.SetImageBits(pageByte(L::kManualBitmap, n), pageBit(n), manual ? 1 : 0, 1);
}

namespace {
std::size_t priorityByte(int n) { return L::kPriorityFlags + static_cast<std::size_t>(n / 2); }
int priorityBit(int n, int f) { return 7 - 4 * (n % 2) - f; }
}  // namespace

bool PriorityAlert(const ConfigImage& image, int n, int f) {
    checkCapcode(n);
    checkFunctionBit(f);
    return image.GetImageBits(priorityByte(n), priorityBit(n, f), 1) == 1;
}
void SetPriorityAlert(ConfigImage& image, int n, int f, bool on) {
    checkCapcode(n);
    checkFunctionBit(f);
    image.SetImageBits(priorityByte(n), priorityBit(n, f), on ? 1 : 0, 1);
}

namespace {
std::size_t functionBitOffset(int n, int f, std::size_t low, std::size_t high) {
    checkCapcode(n);
    checkFunctionBit(f);
    const auto fb = static_cast<std::size_t>(f);
    if (n < 8) return low + L::kFunctionBits * static_cast<std::size_t>(n) + fb;
    return high + L::kFunctionBits * static_cast<std::size_t>(n - 8) + fb;
}
}  // namespace

std::size_t DisplayCodeOffset(int n, int f) {
    return functionBitOffset(n, f, L::kDisplayCodeLow, L::kDisplayCodeHigh);
}
std::size_t MessageTypeOffset(int n, int f) {
    return functionBitOffset(n, f, L::kMessageTypeLow, L::kMessageTypeHigh);
}

char DisplayCodeLetter(std::uint8_t code) {
    constexpr char kLetters[] = {'N', 'P', 'A', 'I', 'T'};
    return code < sizeof kLetters ? kLetters[code] : '-';
}

std::string MessageTypeLetters(std::uint8_t type) {
    if (type == 0) return "P";
    if (type == kMessageTypeGroup) return "G";
    char buf[4];
    std::snprintf(buf, sizeof buf, "%X", type);
    return buf;
}

std::optional<std::uint64_t> ParseCapcodeText(std::string_view text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 10);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

}  // namespace zrv
