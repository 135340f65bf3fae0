#include "ota/number_text.h"

namespace zrv::ota {

namespace {
constexpr std::size_t kMaxHexDigits = 8;
constexpr long long kMaxMagnitude = 0x80000000LL;  // |INT32_MIN|
constexpr long long kMaxPositive = 0x7FFFFFFFLL;
}  // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::uint32_t> HexNumber(const std::string& text) {
    if (text.empty() || text.size() > kMaxHexDigits) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text) {
        const int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return v;
}

std::optional<long long> DecimalNumber(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > kMaxMagnitude) return std::nullopt;
    }
    if (negative) return -v;
    if (v > kMaxPositive) return std::nullopt;
    return v;
}

}  // namespace zrv::ota
