#pragma once
/// \file
/// A comparison of two configurations as the windows list it: one row per
/// differing field (its name and both values), then one row per run of
/// differing bytes no field shows (its addresses and region, both runs in
/// hex). The Compare window and the programming window show these rows;
/// the Compare window's filter keeps the rows RowMatchesFilter accepts.

#include <string>
#include <string_view>
#include <vector>

#include "core/field_compare.h"
#include "core/notifier.h"

namespace zrv {

struct ComparisonRow {
    /// The differing field; null for a run of bytes no field shows.
    const FieldDef* field = nullptr;
    std::string name;    ///< "capcode.1", or "0x07FE-0x07FF  checksum"
    std::string first;   ///< the first side's value ("this configuration")
    std::string second;  ///< the second side's value (the file, the pager)
    std::string where;   ///< the control and the image location, or the region
};

/// The rows of \p comparison: the fields in table order, then the byte runs
/// in offset order. Values are as ListText shows them.
std::vector<ComparisonRow> ComparisonRows(const ImageComparison& comparison);

/// True when \p filter (trimmed) is empty or occurs in the row's name or in
/// either value, ignoring the case of ASCII letters.
bool RowMatchesFilter(const ComparisonRow& row, std::string_view filter);

/// The column headings of a comparison list, as catalogue messages.
Message FieldHeading();              ///< "Field"
Message ThisConfigurationHeading();  ///< "This configuration"
Message TheFileHeading();            ///< "The file"
Message ThePagerHeading();           ///< "The pager"

/// \p utf8 with every control character (C0, DEL and C1) written as "\x1B",
/// so that a text field's hidden bytes are seen in a list.
std::string ListText(std::string_view utf8);

}  // namespace zrv
