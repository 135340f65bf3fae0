// Every field of the field table, given seeded random values through the
// path of `zrv41k-cli set` and read back through the path of `get`: a
// value is either refused or stored exactly as asked, up to the normal
// forms the field reference documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/battery_thresholds.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "core/field_table_builder.h"

namespace zrv {
namespace {

bool IsNumber(const std::string& s) {
    return !s.empty() && s.size() <= 9 && s.find_first_not_of("0123456789") == std::string::npos;
}
bool StartsWith(const std::string& s, std::string_view prefix) { return s.rfind(prefix, 0) == 0; }
bool EndsWith(const std::string& s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

/// \p asked padded with spaces to \p length characters of Windows-1252.
std::string PaddedText(const std::string& asked, std::size_t length) {
    std::string bytes = Utf8ToCp1252(asked);
    if (bytes.size() < length) bytes.resize(length, ' ');
    return Cp1252ToUtf8(bytes);
}

/// What `get` shows for a value that was stored, by the normal forms of the
/// field reference: a combo's item for its index, whole numbers by their
/// value, source lines and keys padded with spaces, melodies trimmed and
/// padded with "0" (and a melody of only "e" and "0" written with "1", the
/// same bytes in on/off notation). Nothing else changes.
bool ShowsAsAsked(const FieldDef& f, const std::vector<std::string>& items, const std::string& asked,
                  const std::string& shown) {
    if (shown == asked) return true;
    if (f.kind == FieldKind::Combo) {
        if (IsNumber(asked) && std::stoul(asked) < items.size()) return shown == items[std::stoul(asked)];
        return std::any_of(items.begin(), items.end(), [&](const std::string& item) {
            return shown == item && item.find_first_not_of(' ') != std::string::npos &&
                   item.substr(item.find_first_not_of(' ')) == asked;
        });
    }
    if (f.kind == FieldKind::Number || f.name == "frequency" ||
        (StartsWith(f.name, "capcode.") && f.name.find('.', 8) == std::string::npos))
        return IsNumber(asked) && IsNumber(shown) && std::stoul(asked) == std::stoul(shown);
    if (StartsWith(f.name, "source.")) return shown == PaddedText(asked, 21);
    if (StartsWith(f.name, "aes.key.")) return shown == PaddedText(asked, 16);
    if (EndsWith(f.name, "melody")) {
        std::string melody = asked;
        melody.erase(0, std::min(melody.find_first_not_of(' '), melody.size()));
        melody.erase(melody.find_last_not_of(' ') + 1);
        melody.resize(16, '0');
        if (melody.find_first_not_of("0e") == std::string::npos) std::replace(melody.begin(), melody.end(), 'e', '1');
        return shown == melody;
    }
    return false;
}

/// A random value for \p f: mostly of the kind the field takes, often with
/// characters no field should store as given (TAB, ESC, CR, LF, NUL,
/// letters outside Windows-1252, broken UTF-8, trailing spaces).
std::string RandomValue(std::mt19937& rng, const FieldDef& f, const std::vector<std::string>& items) {
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    static const std::vector<std::string> anyText = {
        "A", "b", "Z", "0", "1", "7", " ", "  ", "\t", "\x1B", "\r", "\n", std::string(1, '\0'), "\xC3\xA9",
        "\xD0\xA8", "\xE2\x82\xAC", "\xC3", "\xFF", "e", "G", "g", "-", "\x7F", "\xC2\x85"};
    static const std::vector<std::string> melodyText = {"A", "e", "1", "0", "c", "g", "G", " ", "B"};
    const auto text = [&](const std::vector<std::string>& pieces, std::size_t maxPieces) {
        std::string s;
        for (std::size_t n = pick(maxPieces + 1); n > 0; --n) s += pieces[pick(pieces.size())];
        return s;
    };
    if (pick(4) == 0) return text(anyText, 24);
    switch (f.kind) {
        case FieldKind::Combo:
            if (pick(2) == 0 && !items.empty()) return items[pick(items.size())];
            return std::to_string(pick(items.size() + 2));
        case FieldKind::Check: return pick(2) ? "on" : "off";
        case FieldKind::Number: return (pick(3) == 0 ? "0" : "") + std::to_string(pick(11));
        case FieldKind::ReadOnly: return text(anyText, 4);
        case FieldKind::Text: break;
    }
    if (EndsWith(f.name, "melody")) return text(melodyText, 18);
    if (f.name == "frequency") return std::to_string(1300000 + pick(5000000));
    if (StartsWith(f.name, "capcode.")) return std::to_string(pick(3000000));
    if (f.name == "password.rw") return text({"1", "9", "a", "\xC3\xA9", "\xD0\xA8", " "}, 7);
    return text({"A", "b", "1", " ", " ", "\xC3\xA9", "\xC3\x9C", "!", "\xD0\xA8", "\t"}, 24);
}

TEST(FieldValues, ARandomValueIsStoredAsAskedOrRefused) {
    std::mt19937 rng(20261209);
    ConfigImage image = StartupImage();
    FieldContext context = ContextAfterOpen(image);
    std::vector<std::string> differing;
    std::size_t stored = 0;
    std::size_t storedTexts = 0;
    std::size_t refused = 0;
    for (int round = 0; round < 6; ++round) {
        for (const FieldDef& f : FieldTable()) {
            if (!f.set) continue;
            // The threshold lists take the items of the battery type in force.
            const std::vector<std::string> items =
                f.kind == FieldKind::Combo && f.items.empty()
                    ? (BatteryTypeOf(image) == BatteryType::Rechargeable ? field_rows::RechargeableItems()
                                                                         : field_rows::StandardItems())
                    : f.items;
            const std::string asked = RandomValue(rng, f, items);
            const SetFieldResult r = SetFieldValue(image, context, f, asked);
            if (r.status != SetFieldResult::Status::Stored) {
                ++refused;
                continue;
            }
            ++stored;
            storedTexts += f.kind == FieldKind::Text;
            const std::string shown = f.get(image, context);
            if (!ShowsAsAsked(f, items, asked, shown)) differing.push_back(f.name + ": '" + asked + "' shows '" + shown + "'");
        }
    }
    EXPECT_TRUE(differing.empty()) << differing.size() << " of " << stored << " stored values read back different, first: "
                                   << differing.front();
    // Enough of both outcomes that the check means something.
    EXPECT_GT(storedTexts, 600u);
    EXPECT_GT(stored, 5000u);
    EXPECT_GT(refused, 2000u);
}

}  // namespace
}  // namespace zrv
