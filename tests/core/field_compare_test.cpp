// Comparing two configurations by field: each field of the catalogue
// changed alone is reported as exactly that field (its side effects as
// theirs), differences no field shows are reported as bytes by region, and
// a field the window shows twice is reported once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/battery_thresholds.h"
#include "core/default_image.h"
#include "core/field_compare.h"
#include "core/field_table.h"
#include "core/field_table_builder.h"
#include "core/image_layout.h"

namespace zrv {
namespace {

/// Values to try for \p f, the first that its rule stores and that changes
/// what the field shows is taken.
std::vector<std::string> Candidates(const FieldDef& f, const ConfigImage& image, const FieldContext& context) {
    const std::string shown = f.get(image, context);
    switch (f.kind) {
        case FieldKind::Check: return {shown == "on" ? "off" : "on"};
        case FieldKind::Combo: {
            std::vector<std::string> items;
            for (int k = 0; k < 12; ++k) items.push_back(std::to_string(k));
            return items;
        }
        case FieldKind::Number: {
            const long v = shown.empty() ? 0 : std::stol(shown);
            return {std::to_string(v + 1), std::to_string(v - 1)};
        }
        case FieldKind::ReadOnly: return {};
        case FieldKind::Text: break;
    }
    if (f.name == "frequency") return {std::to_string(std::stoul(shown) + 250)};
    if (f.name.starts_with("capcode.")) return {"1234", "4321"};
    if (f.name.ends_with("melody")) return {"CDEfgaB", "GAB"};
    if (f.name == "password.rw") return {"4711", "0815"};
    return {"ZT7", "KEY9", "X"};
}

TEST(FieldCompare, EachFieldChangedAloneIsReportedAsThatField) {
    const ConfigImage before = StartupImage();
    std::vector<std::string> faults;
    std::size_t tried = 0;
    for (const FieldDef& f : FieldTable()) {
        if (!f.set) continue;
        ConfigImage after = before;
        FieldContext context = ContextAfterOpen(after);
        bool changed = false;
        for (const std::string& value : Candidates(f, before, context)) {
            after = before;
            context = ContextAfterOpen(after);
            if (SetFieldValue(after, context, f, value).status == SetFieldResult::Status::Stored &&
                f.get(after, context) != f.get(before, context)) {
                changed = true;
                break;
            }
        }
        if (!changed) continue;
        ++tried;
        const ImageComparison c = CompareImages(before, after);
        const bool named = std::any_of(c.fields.begin(), c.fields.end(), [&f](const FieldDifference& d) {
            return d.field == &f || FootprintOf(*d.field) == FootprintOf(f);
        });
        std::string report = f.name + " ->";
        for (const auto& d : c.fields) report += " " + d.field->name;
        for (const auto& b : c.bytes) report += " [" + DifferenceLine(b) + "]";
        // A side effect may change bytes no field shows (the prompt records of a
        // language the window has no box for).
        if (!named || (!f.sideEffects && (c.fields.size() != 1 || !c.bytes.empty()))) faults.push_back(report);
    }
    EXPECT_GT(tried, 1000u);
    EXPECT_TRUE(faults.empty()) << faults.size() << " fields:\n" << [&] {
        std::string all;
        for (std::size_t k = 0; k < faults.size() && k < 60; ++k) all += faults[k] + "\n";
        return all;
    }();
}


TEST(FieldCompare, BytesNoFieldShowsAndFieldsShownTwice) {
    const ConfigImage before = StartupImage();
    // The checksum and the write marker: no field shows them.
    ConfigImage stamped = before;
    stamped.setByte(0x07FE, static_cast<std::uint8_t>(before.byte(0x07FE) ^ 0x5A));
    stamped.setByte(0x07FF, static_cast<std::uint8_t>(before.byte(0x07FF) ^ 0x01));
    stamped.setByte(0x03E0, static_cast<std::uint8_t>(before.byte(0x03E0) ^ 0x80));
    const ImageComparison bytes = CompareImages(before, stamped);
    EXPECT_TRUE(bytes.fields.empty());
    ASSERT_EQ(bytes.bytes.size(), 2u);
    EXPECT_EQ(bytes.bytes[0].first, 0x03E0u);
    EXPECT_EQ(bytes.bytes[0].region, "write marker");
    EXPECT_EQ(bytes.bytes[1].first, 0x07FEu);
    EXPECT_EQ(bytes.bytes[1].last, 0x07FFu);
    EXPECT_EQ(bytes.bytes[1].region, "checksum");
    EXPECT_EQ(DifferenceLine(bytes.bytes[1]).substr(0, 25), "0x07FE-0x07FF  checksum: ");

    // Two check boxes bound to one bit (the air-program box and the OTA
    // option box): one difference, by the field first in the table; a
    // field beside them in the same byte stays a difference of its own.
    const FieldDef& air = RequireField("air-program");
    const FieldDef& ota = RequireField("ota.program");
    ASSERT_EQ(FootprintOf(air), FootprintOf(ota));
    ConfigImage after = before;
    FieldContext context = ContextAfterOpen(after);
    const std::string was = air.get(before, context);
    ASSERT_EQ(SetFieldValue(after, context, air, was == "on" ? "off" : "on").status, SetFieldResult::Status::Stored);
    ImageComparison once = CompareImages(before, after);
    ASSERT_EQ(once.fields.size(), 1u);
    EXPECT_EQ(once.fields[0].field, &air < &ota ? &air : &ota);
    EXPECT_EQ(DifferenceLine(once.fields[0]), once.fields[0].field->name + ": " + was + " -> " + (was == "on" ? "off" : "on"));
    EXPECT_TRUE(once.bytes.empty());
}

}  // namespace
}  // namespace zrv
