#include "editors/compare_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "editors/main_form.h"
#include "i18n/safe_format.h"
#include "ui/kit/comparison_table.h"
#include "ui/kit/window_setup.h"
#include "ui_compare_window.h"

namespace zrv {

namespace {

const Message kSame{"MsgCmpSame", "The two configurations are the same."};
const Message kCounts{"MsgCmpCounts", "Fields that differ: %d    Runs of bytes no field shows: %d"};
const Message kWriteChanges{"MsgCmpWriteChanges",
                            "A write changes these fields of the pager (this configuration replaces what the pager holds):"};
const Message kWriteSame{"MsgCmpWriteSame", "The pager holds this configuration already; a write changes nothing."};

}  // namespace

CompareWindow::CompareWindow(MainForm& form, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmCompare>()), form_(form) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, kCompareWindow);
    setModal(false);  // shown beside the main window; exec() makes it modal before a write
    setSizeGripEnabled(true);
    connect(ui_->edtCmpFilter, &QLineEdit::textChanged, this, &CompareWindow::applyFilter);
    // A double-click, or Enter, on a row (the platform's activation).
    connect(ui_->grdCompare, &QTableWidget::cellActivated, this, [this](int row, int) { rowChosen(row); });
    connect(ui_->btnCmpWrite, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->btnCmpCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->btnCmpClose, &QPushButton::clicked, this, &QDialog::reject);
}

CompareWindow::~CompareWindow() = default;

QTableWidget& CompareWindow::table() { return *ui_->grdCompare; }
QLineEdit& CompareWindow::filter() { return *ui_->edtCmpFilter; }

std::string CompareWindow::text(const Message& m) const { return form_.catalogueText(m.key.c_str(), m.english); }

void CompareWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui_->edtCmpFilter->setFocus();
    // The rows were filled while the window was hidden: once it has its
    // size, the columns share the list's width by their contents.
    QMetaObject::invokeMethod(this, [this] { kit::FitComparisonColumns(*ui_->grdCompare); }, Qt::QueuedConnection);
}

void CompareWindow::showComparison(const ImageComparison& comparison, const Message& otherHeading,
                                   const QString& otherName) {
    const std::string summary =
        comparison.equal() ? text(kSame)
                           : i18n::SafeFormat(text(kCounts), {static_cast<int>(comparison.fields.size()),
                                                              static_cast<int>(comparison.bytes.size())});
    fill(comparison, otherHeading, summary);
    if (!otherName.isEmpty()) setWindowTitle(windowTitle() + QStringLiteral(" - ") + otherName);
    ui_->btnCmpWrite->hide();
    ui_->btnCmpCancel->hide();
    ui_->btnCmpClose->show();
    ui_->btnCmpClose->setDefault(true);
    if (isModal()) setModal(false);
    show();
    raise();
    activateWindow();
}

bool CompareWindow::askBeforeWrite(const ImageComparison& comparison) {
    fill(comparison, ThePagerHeading(), text(comparison.equal() ? kWriteSame : kWriteChanges));
    ui_->btnCmpWrite->show();
    ui_->btnCmpCancel->show();
    ui_->btnCmpClose->hide();
    ui_->btnCmpWrite->setDefault(true);
    hide();  // a comparison shown on its own gives way to the question
    return exec() == QDialog::Accepted;
}

void CompareWindow::fill(const ImageComparison& comparison, const Message& otherHeading, const std::string& summary) {
    form_.localise(*this, kCompareWindow);
    ui_->lblCmpSummary->setText(QString::fromStdString(summary));
    kit::SetUpComparisonTable(*ui_->grdCompare,
                              {QString::fromStdString(text(FieldHeading())),
                               QString::fromStdString(text(ThisConfigurationHeading())),
                               QString::fromStdString(text(otherHeading))});
    rows_ = ComparisonRows(comparison);
    kit::ShowComparisonRows(*ui_->grdCompare, rows_);
    ui_->edtCmpFilter->clear();
    applyFilter();
}

void CompareWindow::applyFilter() {
    const std::string wanted = ui_->edtCmpFilter->text().toStdString();
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        ui_->grdCompare->setRowHidden(r, !RowMatchesFilter(rows_[static_cast<std::size_t>(r)], wanted));
}

std::vector<std::string> CompareWindow::shownNames() const {
    std::vector<std::string> names;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        if (!ui_->grdCompare->isRowHidden(r)) names.push_back(rows_[static_cast<std::size_t>(r)].name);
    return names;
}

void CompareWindow::rowChosen(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const FieldDef* field = rows_[static_cast<std::size_t>(row)].field;
    if (field && onFieldChosen) onFieldChosen(*field);
}

}  // namespace zrv
