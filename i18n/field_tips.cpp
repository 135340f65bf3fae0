#include "i18n/field_tips.h"

#include "i18n/safe_format.h"

namespace zrv::i18n {
namespace {

/// Lines of a tool tip stay about this wide: a tool tip does not wrap plain text.
constexpr std::size_t kTipLineLength = 72;

/// \p text broken after ", " where a line would pass kTipLineLength
/// (a combo's long item list).
std::string Wrapped(const std::string& text) {
    std::string out;
    std::size_t lineLength = 0;
    std::size_t from = 0;
    while (from < text.size()) {
        const auto comma = text.find(", ", from);
        const std::size_t end = comma == std::string::npos ? text.size() : comma + 2;
        if (lineLength > 0 && lineLength + (end - from) > kTipLineLength) {
            out.back() = '\n';  // the space after the comma before
            lineLength = 0;
        }
        out += text.substr(from, end - from);
        lineLength += end - from;
        from = end;
    }
    return out;
}

}  // namespace

std::string EnglishText(const std::string&, const std::string& english) { return english; }

std::string DescriptionText(const FieldDescription& description, const TextLookup& text) {
    if (description.key.empty()) return {};
    std::vector<FormatArg> args(description.args.begin(), description.args.end());
    return SafeFormat(text(description.key, description.english), args);
}

std::string FieldDescriptionText(const FieldDef& field, const TextLookup& text) {
    return DescriptionText(field.description, text);
}

std::string FieldToolTip(const FieldDef& field, const TextLookup& text) {
    std::string tip = FieldDescriptionText(field, text);
    tip += '\n';
    if (field.kind == FieldKind::ReadOnly) tip += text("TipReadOnly", "Shown only: it cannot be typed");
    else tip += Wrapped(SafeFormat(text("TipAccepts", "Accepts: %s"), {field.accepts}));
    tip += '\n';
    tip += SafeFormat(text("TipCommandLine", "Command line: %s"), {field.name});
    return tip;
}

}  // namespace zrv::i18n
