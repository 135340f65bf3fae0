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
    table.horizontalHeader()->setSectionResizeMode(kColumns - 1, QHeaderView::Stretch);
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
            item->setToolTip(c == 0 ? cells[0] + QStringLiteral("\n") + QString::fromStdString(row.where) : cells[c]);
            if (!row.field) {  // a run of bytes no field shows
                QFont font = item->font();
                font.setItalic(true);
                item->setFont(font);
            }
            table.setItem(r, c, item);
        }
        table.item(r, 0)->setData(Qt::UserRole, r);
    }
    FitComparisonColumns(table);
}

void FitComparisonColumns(QTableWidget& table) {
    // The name and the first value as wide as they need, up to two fifths
    // and three tenths of the list; the second value takes the rest.
    const int width = table.viewport()->width();
    const int most[kColumns - 1] = {width * 2 / 5, width * 3 / 10};
    for (int c = 0; c + 1 < kColumns; ++c) {
        table.resizeColumnToContents(c);
        if (table.columnWidth(c) > most[c]) table.setColumnWidth(c, most[c]);
    }
}

}  // namespace zrv::kit
