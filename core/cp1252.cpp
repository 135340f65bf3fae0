#include "core/cp1252.h"

#include <array>

namespace zrv {
namespace {

// 0x80..0x9F of Windows-1252; the undefined bytes map to themselves.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at \p i; returns nothing for a malformed one
// and always advances \p i by at least one byte. Overlong forms (such as
// C0 80 for NUL, C0 AF for '/'), surrogates and values above U+10FFFF are
// malformed too and become the replacement, like any other broken sequence.
std::optional<char32_t> nextUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) return b0;
    int extra = 0;
    char32_t cp = 0;
    char32_t least = 0;  // smallest value that needs this many bytes
    if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; least = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; least = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; least = 0x10000; }
    else return std::nullopt;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size()) return std::nullopt;
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
        ++i;
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return cp;
}

}  // namespace

char32_t Cp1252ToUnicode(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
    return byte;
}

std::optional<std::uint8_t> UnicodeToCp1252(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<std::uint8_t>(ch);
    for (std::size_t k = 0; k < kHigh.size(); ++k)
        if (kHigh[k] == ch) return static_cast<std::uint8_t>(0x80 + k);
    return std::nullopt;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) appendUtf8(out, Cp1252ToUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto cp = nextUtf8(utf8, i);
        const auto b = cp ? UnicodeToCp1252(*cp) : std::nullopt;
        out += b ? static_cast<char>(*b) : replacement;
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252Exact(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto cp = nextUtf8(utf8, i);
        const auto b = cp ? UnicodeToCp1252(*cp) : std::nullopt;
        if (!b) return std::nullopt;
        out += static_cast<char>(*b);
    }
    return out;
}

std::optional<std::string> PagerTextBytes(std::string_view utf8) {
    auto bytes = Utf8ToCp1252Exact(utf8);
    if (!bytes) return std::nullopt;
    for (const char c : *bytes)
        if (IsControlCharacter(Cp1252ToUnicode(static_cast<std::uint8_t>(c)))) return std::nullopt;
    return bytes;
}

}  // namespace zrv
