#include "log/ui/programming_log_window.h"

#include <QDate>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

#include "core/atomic_file.h"
#include "log/record_text.h"
#include "ui/kit/window_setup.h"
#include "ui_programming_log_window.h"

namespace zrv::proglog::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

struct Header {
    SummaryColumn column;
    const char* key;
    const char* english;
};
constexpr Header kHeaders[] = {
    {kColumnId, "LogColRecord", "Record"},          {kColumnTime, "LogColTime", "Time (UTC)"},
    {kColumnOperation, "LogColOperation", "Operation"}, {kColumnSerial, "LogColSerial", "Serial number"},
    {kColumnFirstCapcode, "LogColCapcode", "First capcode"}, {kColumnResult, "LogColResult", "Result"},
    {kColumnCustomer, "LogColCustomer", "Customer"},
};

/// A message of this window; its English text with \p argument in the
/// place of "%s".
Message LogMessage(const char* key, const char* english, const std::string& argument = {}) {
    std::string placed = english;
    std::vector<std::string> args;
    if (const auto at = placed.find("%s"); at != std::string::npos) {
        placed.replace(at, 2, argument);
        args.push_back(argument);
    }
    return Message{key, placed, MsgIcon::Exclamation, std::move(args)};
}

}  // namespace

ProgrammingLogWindow::ProgrammingLogWindow(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmProgLog>()), model_(std::make_unique<QSqlQueryModel>()) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, kProgrammingLogWindow);
    setModal(false);  // the log stays open beside the main window
    ui_->layLog->setRowStretch(2, 3);
    ui_->layLog->setRowStretch(3, 1);
    ui_->grdLog->setModel(model_.get());
    ui_->grdLog->horizontalHeader()->setStretchLastSection(true);
    ui_->grdLog->verticalHeader()->hide();
    const QDate today = QDate::currentDate();
    ui_->dtLogFrom->setDate(today.addMonths(-1));
    ui_->dtLogTo->setDate(today);
    connect(ui_->edtLogSearch, &QLineEdit::textChanged, this, &ProgrammingLogWindow::search);
    for (QCheckBox* box : {ui_->chkLogFrom, ui_->chkLogTo})
        connect(box, &QCheckBox::toggled, this, &ProgrammingLogWindow::search);
    for (QDateEdit* date : {ui_->dtLogFrom, ui_->dtLogTo})
        connect(date, &QDateEdit::dateChanged, this, &ProgrammingLogWindow::search);
    connect(ui_->grdLog->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ProgrammingLogWindow::showDetails);
    connect(ui_->btnLogOpenImage, &QPushButton::clicked, this, &ProgrammingLogWindow::btnLogOpenImageClick);
    connect(ui_->btnLogCompare, &QPushButton::clicked, this, &ProgrammingLogWindow::btnLogCompareClick);
    connect(ui_->btnLogExport, &QPushButton::clicked, this, &ProgrammingLogWindow::btnLogExportClick);
    connect(ui_->btnLogUseDatabase, &QPushButton::clicked, this, &ProgrammingLogWindow::btnLogUseDatabaseClick);
    connect(ui_->btnLogClose, &QPushButton::clicked, this, &QDialog::accept);
}

ProgrammingLogWindow::~ProgrammingLogWindow() = default;

void ProgrammingLogWindow::showEvent(QShowEvent* event) {
    if (hooks_.localise) hooks_.localise(*this);
    setHeaders();
    QDialog::showEvent(event);
}

std::string ProgrammingLogWindow::text(const Message& message) const {
    return hooks_.text ? hooks_.text(message) : message.english;
}

void ProgrammingLogWindow::showMessage(const Message& message) {
    if (hooks_.notifier) hooks_.notifier->show(message);
}

void ProgrammingLogWindow::setHeaders() {
    for (const Header& h : kHeaders)
        model_->setHeaderData(h.column, Qt::Horizontal, Q(text(LogMessage(h.key, h.english))));
}

void ProgrammingLogWindow::setLog(ProgrammingLog* log, const QString& location, const QString& problem) {
    log_ = log;
    ui_->edtLogDatabase->setText(location);
    ui_->memLogDetails->setPlainText(problem);
    search();
}

LogFilter ProgrammingLogWindow::filter() const {
    LogFilter f;
    f.text = ui_->edtLogSearch->text().trimmed().toStdString();
    if (ui_->chkLogFrom->isChecked()) f.since = ui_->dtLogFrom->date().toString(Qt::ISODate).toStdString();
    if (ui_->chkLogTo->isChecked()) f.until = ui_->dtLogTo->date().toString(Qt::ISODate).toStdString();
    return f;
}

void ProgrammingLogWindow::search() {
    if (!log_) {
        model_->clear();
        return;
    }
    const ListingQuery listing = SummaryQuery(filter());
    QSqlQuery query(log_->database());
    query.prepare(listing.sql);
    for (const QVariant& value : listing.values) query.addBindValue(value);
    query.exec();
    // The model fetches further rows only as the table scrolls to them.
    model_->setQuery(std::move(query));
    setHeaders();
    ui_->grdLog->setColumnHidden(kColumnId, false);
    if (model_->rowCount() > 0) ui_->grdLog->selectRow(0);
    else ui_->memLogDetails->clear();
}

std::optional<long long> ProgrammingLogWindow::selectedId() const {
    const QModelIndex current = ui_->grdLog->currentIndex();
    if (!current.isValid()) return std::nullopt;
    return model_->data(model_->index(current.row(), kColumnId)).toLongLong();
}

void ProgrammingLogWindow::showDetails() {
    const auto id = selectedId();
    if (!log_ || !id) return;
    std::string error;
    const auto record = log_->record(*id, error);
    ui_->memLogDetails->setPlainText(Q(record ? RecordDetails(*record) : error));
}

std::optional<ProgrammingRecord> ProgrammingLogWindow::selectedImageRecord() {
    const auto id = selectedId();
    if (!log_ || !id) return std::nullopt;
    std::string error;
    auto record = log_->record(*id, error);
    if (!record) {
        showMessage(LogMessage("MsgLogUnreadable", "The record cannot be read: %s", error));
        return std::nullopt;
    }
    if (!record->image) {
        showMessage(LogMessage("MsgLogNoImage", "This record keeps no image."));
        return std::nullopt;
    }
    return record;
}

void ProgrammingLogWindow::btnLogOpenImageClick() {
    if (const auto record = selectedImageRecord(); record && hooks_.openImage) hooks_.openImage(*record);
}

void ProgrammingLogWindow::btnLogCompareClick() {
    if (const auto record = selectedImageRecord(); record && hooks_.compareImage) hooks_.compareImage(*record);
}

void ProgrammingLogWindow::btnLogExportClick() {
    if (!log_ || !hooks_.saveDialog) return;
    const QString path = hooks_.saveDialog(this, QStringLiteral("programming-log.csv"));
    if (path.isEmpty()) return;
    std::string error;
    const auto records = log_->query(filter(), error);
    if (!records || WriteFileAtomically(path.toStdString(), RecordsCsv(*records)) != SaveStatus::Saved)
        showMessage(LogMessage("MsgLogExportFailed", "The file %s could not be written.", path.toStdString()));
}

void ProgrammingLogWindow::btnLogUseDatabaseClick() {
    if (hooks_.useDatabase) hooks_.useDatabase(ui_->edtLogDatabase->text().trimmed());
}

}  // namespace zrv::proglog::ui
