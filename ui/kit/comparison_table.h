#pragma once
/// \file
/// The list of a comparison of two configurations, as every window shows
/// it: a read-only table of field, first value and second value, the runs
/// of bytes no field shows at the end in italics. The name cell's tool tip
/// repeats the name and says where the field is shown and held; its data
/// (Qt::UserRole) is the row's index in the rows given.

#include <QStringList>
#include <vector>

#include "core/comparison_rows.h"

class QTableWidget;

namespace zrv::kit {

/// Gives \p table the comparison's look: three columns headed \p headers,
/// whole rows selected, nothing edited.
void SetUpComparisonTable(QTableWidget& table, const QStringList& headers);

/// Fills \p table (set up by SetUpComparisonTable) with \p rows and fits
/// its columns.
void ShowComparisonRows(QTableWidget& table, const std::vector<ComparisonRow>& rows);
/// Shares the width of \p table among its columns by their contents; run
/// again once a table filled while hidden is shown at its size.
void FitComparisonColumns(QTableWidget& table);

}  // namespace zrv::kit
