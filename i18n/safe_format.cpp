#include "i18n/safe_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace zrv::i18n {

namespace {

struct Directive {
    bool left = false;   // '-'
    bool zero = false;   // '0'
    int width = 0;
    int precision = -1;  // none
    char conversion = 0;
};

/// Characters of a UTF-8 text (continuation bytes do not count).
std::size_t CharCount(std::string_view s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

/// The first \p n characters of a UTF-8 text.
std::string_view FirstChars(std::string_view s, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == n) return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}

std::string Pad(std::string text, const Directive& directive, bool numeric) {
    const std::size_t have = CharCount(text);
    const auto want = static_cast<std::size_t>(directive.width);
    if (have >= want) return text;
    const std::size_t fill = want - have;
    if (directive.left) return text + std::string(fill, ' ');
    if (directive.zero && numeric) {
        // Zeros go between the sign and the digits, as printf does.
        const std::size_t at = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
        text.insert(at, fill, '0');
        return text;
    }
    return std::string(fill, ' ') + text;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    std::string_view t = text;
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || t.empty()) return std::nullopt;
    return v;
}

std::optional<double> RealNumber(std::string_view text) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return v;
}

std::int64_t ToWhole(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (d <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(d);
}

std::string Integer(std::int64_t v, const Directive& directive) {
    std::string digits;
    if (directive.conversion == 'x' || directive.conversion == 'X') {
        char buf[32];
        std::snprintf(buf, sizeof buf, directive.conversion == 'x' ? "%llx" : "%llX",
                      static_cast<unsigned long long>(v));
        digits = buf;
    } else {
        digits = std::to_string(v);
    }
    if (directive.precision >= 0) {
        // A precision is the least number of digits.
        const bool negative = !digits.empty() && digits[0] == '-';
        const std::size_t have = digits.size() - (negative ? 1 : 0);
        const auto want = static_cast<std::size_t>(directive.precision);
        if (have < want) digits.insert(negative ? 1 : 0, want - have, '0');
        Directive unpadded = directive;
        unpadded.zero = false;
        return Pad(digits, unpadded, true);
    }
    return Pad(digits, directive, true);
}

std::string Real(double v, const Directive& directive) {
    const int precision = directive.precision < 0 ? 6 : directive.precision;
    char format[32];
    std::snprintf(format, sizeof format, "%%%s%s%d.%df", directive.left ? "-" : "", directive.zero ? "0" : "",
                  directive.width, precision);
    const int n = std::snprintf(nullptr, 0, format, v);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, v);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::string Text(std::string_view s, const Directive& directive) {
    std::string_view shown = directive.precision >= 0 ? FirstChars(s, static_cast<std::size_t>(directive.precision)) : s;
    return Pad(std::string(shown), directive, false);
}

std::string Render(const FormatArg& arg, const Directive& directive) {
    const auto& v = arg.value();
    switch (directive.conversion) {
    case 's':
        if (auto* s = std::get_if<std::string>(&v)) return Text(*s, directive);
        if (auto* i = std::get_if<std::int64_t>(&v)) return Text(std::to_string(*i), directive);
        return Text(Real(std::get<double>(v), Directive{}), directive);
    case 'f':
        if (auto* d = std::get_if<double>(&v)) return Real(*d, directive);
        if (auto* i = std::get_if<std::int64_t>(&v)) return Real(static_cast<double>(*i), directive);
        if (auto d = RealNumber(std::get<std::string>(v))) return Real(*d, directive);
        return Text(std::get<std::string>(v), Directive{directive.left, false, directive.width, -1, 's'});
    default:  // d i u x X
        if (auto* i = std::get_if<std::int64_t>(&v)) return Integer(*i, directive);
        if (auto* d = std::get_if<double>(&v)) return Integer(ToWhole(*d), directive);
        if (auto i = WholeNumber(std::get<std::string>(v))) return Integer(*i, directive);
        return Text(std::get<std::string>(v), Directive{directive.left, false, directive.width, -1, 's'});
    }
}

/// Reads a run of digits at \p pos as a number clamped to kMaxFormatWidth.
int ReadCount(std::string_view format, std::size_t& pos) {
    int value = 0;
    while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
        value = std::min(kMaxFormatWidth, value * 10 + (format[pos] - '0'));
        ++pos;
    }
    return value;
}

}  // namespace

std::string SafeFormat(std::string_view format, const std::vector<FormatArg>& args) {
    std::string out;
    out.reserve(format.size());
    std::size_t next = 0;  // the next argument to consume
    std::size_t pos = 0;
    while (pos < format.size()) {
        const char c = format[pos];
        if (c != '%') {
            const auto percent = format.find('%', pos);
            const auto end = percent == std::string_view::npos ? format.size() : percent;
            out.append(format.substr(pos, end - pos));
            pos = end;
            continue;
        }
        const std::size_t start = pos++;
        if (pos < format.size() && format[pos] == '%') {
            out += '%';
            ++pos;
            continue;
        }
        Directive directive;
        while (pos < format.size() && (format[pos] == '-' || format[pos] == '0')) {
            (format[pos] == '-' ? directive.left : directive.zero) = true;
            ++pos;
        }
        directive.width = ReadCount(format, pos);
        if (pos < format.size() && format[pos] == '.') {
            ++pos;
            directive.precision = ReadCount(format, pos);
        }
        while (pos < format.size() && (format[pos] == 'l' || format[pos] == 'h')) ++pos;
        const char conv = pos < format.size() ? format[pos] : '\0';
        const bool known = conv == 's' || conv == 'd' || conv == 'i' || conv == 'u' || conv == 'x' ||
                           conv == 'X' || conv == 'f';
        if (!known || next >= args.size()) {
            // Not ours, or nothing left to place: the sequence stays as written.
            const std::size_t end = known ? pos + 1 : pos;
            out.append(format.substr(start, std::max(end, start + 1) - start));
            pos = std::max(end, start + 1);
            continue;
        }
        directive.conversion = conv;
        ++pos;
        out += Render(args[next++], directive);
    }
    return out;
}

}  // namespace zrv::i18n
