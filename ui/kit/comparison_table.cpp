#include "ui/kit/comparison_table.h"

#include <QHeaderView>
#include <QTableWidget>

namespace zrv::kit {

namespace {
constexpr int kColumns = 3;
}  // namespace

void SetUpComparisonTable(QTableWidget& table, const QStringList& headers) {
    table.setColumnCount(kColumns);
    table.setHorizontalHeaderLabels(headers);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setAlternatingRowColors(true);
    table.setWordWrap(false);
    table.verticalHeader()->setVisible(false);
    table.verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table.horizontalHeader()->setStretchLastSection(true);
    table.horizontalHeader()->setHighlightSections(false);
}

void ShowComparisonRows(QTableWidget& table, const std::vector<ComparisonRow>& rows) {
    table.clearContents();
    table.setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ComparisonRow& row = rows[static_cast<std::size_t>(r)];
        const QString cells[kColumns] = {QString::fromStdString(row.name), QString::fromStdString(row.first),
                                         QString::fromStdString(row.second)};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(c == 0 ? QString::fromStdString(row.where) : cells[c]);
            if (!row.field) {  // a run of bytes no field shows
                QFont font = item->font();
                font.setItalic(true);
                item->setFont(font);
            }
            table.setItem(r, c, item);
        }
        table.item(r, 0)->setData(Qt::UserRole, r);
    }
    // The name and the first value as wide as they need, within reason.
    table.resizeColumnsToContents();
    const int most = table.viewport()->width() / 2;
    for (int c = 0; c + 1 < kColumns; ++c)
        if (table.columnWidth(c) > most) table.setColumnWidth(c, most);
}

}  // namespace zrv::kit
