#include "core/comparison_rows.h"

#include <algorithm>
#include <cstdio>

namespace zrv {

namespace {

std::string HexRun(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char text[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(text, sizeof text, "%02X", b);
        if (!out.empty()) out += ' ';
        out += text;
    }
    return out;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char a, char b) { return Lower(a) == Lower(b); }) != text.end();
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::vector<ComparisonRow> ComparisonRows(const ImageComparison& comparison) {
    std::vector<ComparisonRow> rows;
    rows.reserve(comparison.fields.size() + comparison.bytes.size());
    for (const FieldDifference& d : comparison.fields)
        rows.push_back({d.field, d.field->name, ListText(d.a), ListText(d.b), d.field->control + "  " + d.field->location});
    for (const ByteDifference& d : comparison.bytes) {
        char range[32];
        std::snprintf(range, sizeof range, "0x%04zX-0x%04zX", d.first, d.last);
        rows.push_back({nullptr, std::string(range) + "  " + std::string(d.region), HexRun(d.a), HexRun(d.b),
                        std::string(d.region)});
    }
    return rows;
}

bool RowMatchesFilter(const ComparisonRow& row, std::string_view filter) {
    filter = Trimmed(filter);
    return filter.empty() || ContainsIgnoringCase(row.name, filter) || ContainsIgnoringCase(row.first, filter) ||
           ContainsIgnoringCase(row.second, filter);
}

Message FieldHeading() { return {"MsgCmpField", "Field"}; }
Message ThisConfigurationHeading() { return {"MsgCmpThis", "This configuration"}; }
Message TheFileHeading() { return {"MsgCmpFile", "The file"}; }
Message ThePagerHeading() { return {"MsgCmpPager", "The pager"}; }

std::string ListText(std::string_view utf8) {
    std::string out;
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        const auto byte = static_cast<unsigned char>(utf8[k]);
        unsigned code = 0x100;  // none: the byte is shown as it is
        if (byte < 0x20 || byte == 0x7F) code = byte;
        // U+0080..U+009F, the C1 controls, are C2 80..C2 9F in UTF-8.
        else if (byte == 0xC2 && k + 1 < utf8.size() && static_cast<unsigned char>(utf8[k + 1]) >= 0x80 &&
                 static_cast<unsigned char>(utf8[k + 1]) <= 0x9F)
            code = static_cast<unsigned char>(utf8[++k]);
        if (code == 0x100) {
            out += utf8[k];
            continue;
        }
        char text[8];
        std::snprintf(text, sizeof text, "\\x%02X", code);
        out += text;
    }
    return out;
}

}  // namespace zrv
