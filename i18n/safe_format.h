#pragma once
/// \file
/// The formatter for every catalogue text that is used as a format (Msg25,
/// Msg45, Msg50, lblCap…, lblCapMusic…, chkSource…, lblECAP…, the capcode
/// page entries…). A language file is untrusted: the formatter understands
/// `%s`, `%d` (also `%i`, `%u`), `%f`, `%x`/`%X` and `%%`, with the flags `-`
/// and `0`, a width and a precision (`%07d`, `%02d`, `%0.1f`), consumes one
/// argument per conversion, never reads an argument that was not passed, and
/// prints any other `%` sequence, and a conversion whose argument is missing,
/// literally. Widths and precisions are clamped, so `%999999999d` cannot make
/// a huge text. A text argument given to `%d` is printed as it is unless it
/// reads as a whole number; a number given to `%s` is printed in decimal.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zrv::i18n {

/// One argument of a format: a whole number, a real number or a text (UTF-8).
class FormatArg {
public:
    FormatArg(int v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(unsigned v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(long long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(unsigned long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(unsigned long long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(double v) : value_(v) {}
    FormatArg(std::string v) : value_(std::move(v)) {}
    FormatArg(std::string_view v) : value_(std::string(v)) {}
    FormatArg(const char* v) : value_(std::string(v ? v : "")) {}

    const std::variant<std::int64_t, double, std::string>& value() const { return value_; }

private:
    std::variant<std::int64_t, double, std::string> value_;
};

/// The largest width or precision the formatter honours.
inline constexpr int kMaxFormatWidth = 64;

/// \p format with its conversions replaced by \p args, in order.
std::string SafeFormat(std::string_view format, const std::vector<FormatArg>& args);

}  // namespace zrv::i18n
