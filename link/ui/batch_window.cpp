#include "link/ui/batch_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPrintDialog>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "core/capcodes.h"
#include "core/table_file.h"
#include "i18n/safe_format.h"
#include "link/link_messages.h"
#include "link/programming_session.h"
#include "link/ui/batch_window_parts.h"
#include "report/delivery_note_pdf.h"
#include "ui/kit/window_setup.h"
#include "ui_batch_window.h"

namespace zrv::link::ui {

namespace {

constexpr int kIdlePollInterval = 3000;  // as Timer1 polls

}  // namespace

using namespace batch_window;

BatchWindow::BatchWindow(BoardSession& board, Notifier& notifier, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmBatch>()), board_(board), notifier_(notifier) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, kBatchWindow);
    auto* grid = ui_->grdBatchRows;
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
    auto* noteMenu = new QMenu(this);
    auto* pdf = noteMenu->addAction(QStringLiteral("Save as PDF..."));
    pdf->setObjectName(QStringLiteral("mnuBatchNotePdf"));
    pdf->setProperty("designedClass", QStringLiteral("TMenuItem"));
    auto* print = noteMenu->addAction(QStringLiteral("Print..."));
    print->setObjectName(QStringLiteral("mnuBatchNotePrint"));
    print->setProperty("designedClass", QStringLiteral("TMenuItem"));
    ui_->btnBatchNote->setMenu(noteMenu);
    connect(pdf, &QAction::triggered, this, &BatchWindow::saveDeliveryNote);
    connect(print, &QAction::triggered, this, &BatchWindow::printDeliveryNote);
    connect(ui_->btnBatchTemplate, &QPushButton::clicked, this, &BatchWindow::btnBatchTemplateClick);
    connect(ui_->btnBatchJob, &QPushButton::clicked, this, &BatchWindow::btnBatchJobClick);
    connect(ui_->btnBatchWrite, &QPushButton::clicked, this, &BatchWindow::btnBatchWriteClick);
    connect(ui_->btnBatchSkip, &QPushButton::clicked, this, &BatchWindow::btnBatchSkipClick);
    connect(ui_->btnBatchRedo, &QPushButton::clicked, this, &BatchWindow::btnBatchRedoClick);
    connect(ui_->btnBatchStop, &QPushButton::clicked, this, &BatchWindow::btnBatchStopClick);
    connect(ui_->btnBatchClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->edtBatchCustomer, &QLineEdit::textEdited, this, [this](const QString& customer) {
        customerTyped_ = true;
        if (run_) run_->setCustomer(customer.trimmed().toStdString());
    });
    // Enter in the customer box ends the typing; it does not write a pager.
    ui_->edtBatchCustomer->installEventFilter(this);
    idlePoll_ = new QTimer(this);
    idlePoll_->setInterval(kIdlePollInterval);
    connect(idlePoll_, &QTimer::timeout, this, &BatchWindow::pollWhileIdle);
}

BatchWindow::~BatchWindow() = default;

std::string BatchWindow::text(const Message& message) const {
    return hooks_.text ? hooks_.text(message) : message.english;
}

void BatchWindow::run(const BatchTemplate& documentTemplate) {
    template_ = documentTemplate;
    jobPath_.clear();
    run_.reset();
    refusedRows_ = 0;
    customerTyped_ = false;
    ui_->edtBatchCustomer->clear();
    ui_->edtBatchJob->clear();
    ui_->memBatchProblems->hide();
    ui_->lblBatchMsg->clear();
    ui_->PBBatchRow->setValue(ui_->PBBatchRow->minimum());
    // A row's own frequency is checked under the pager's firmware, never
    // the one the main window shows; the main window's check comes back after.
    const FrequencyRecheck mainWindowRecheck = board_.frequencyRecheck();
    board_.setFrequencyRecheck(ImageFrequencyRecheck(notifier_));
    board_.setProgressSink(static_cast<LinkSink*>(this));
    if (hooks_.pollBoard) idlePoll_->start();
    showRows();
    exec();
    idlePoll_->stop();
    board_.setProgressSink(nullptr);
    board_.setFrequencyRecheck(mainWindowRecheck);
}

// Show and close -----------------------------------------------------------------------------------

void BatchWindow::showEvent(QShowEvent* event) {
    if (hooks_.localise) hooks_.localise(*this);
    ui_->grdBatchRows->setHorizontalHeaderLabels(
        {QStringLiteral("#"), Q(text(Text("BatchColumnPager", "Pager"))),
         Q(text(Text("BatchColumnCapcode", "First capcode"))), Q(text(Text("BatchColumnState", "State")))});
    ui_->edtBatchTemplate->setText(Q(text(Text("MsgBatchDocument", "the open configuration (%s)",
                                               {template_.label.toStdString()}))));
    showRows();
    QDialog::showEvent(event);
}

void BatchWindow::closeEvent(QCloseEvent* event) {
    // A write is never left half-way: the close box waits for its end.
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void BatchWindow::done(int result) {
    if (busy_) {
        // Escape during a row's write cancels it: the row ends failed.
        if (writing_) board_.cancelTransfer();
        return;
    }
    QDialog::done(result);
}

void BatchWindow::keyPressEvent(QKeyEvent* event) {
    // F4 writes, as it does in the main window's Pager menu.
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier) {
        btnBatchWriteClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool BatchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->edtBatchCustomer && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ui_->btnBatchWrite->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Choosing the template and the list -----------------------------------------------------------------

void BatchWindow::btnBatchTemplateClick() {
    if (busy_ || !hooks_.openFile) return;
    const QString path = hooks_.openFile(this, QStringLiteral("Table files (*.tbl);;All files (*)"));
    if (path.isEmpty()) return;
    ConfigImage image;
    const TableFileResult opened = OpenTemplateTable(path.toStdString(), image);
    if (!opened.ok) {
        if (opened.message) notifier_.show(*opened.message);
        return;  // the template stays as it was
    }
    template_ = {QFileInfo(path).fileName(), image, 16};
    ui_->edtBatchTemplate->setText(path);
    if (!jobPath_.isEmpty()) loadJob();
}

void BatchWindow::btnBatchJobClick() {
    if (busy_ || !hooks_.openFile) return;
    const QString path = hooks_.openFile(this, QStringLiteral("Pager lists (*.csv *.txt);;All files (*)"));
    if (path.isEmpty()) return;
    const BatchReadResult read = ReadBatchJobFile(path.toStdString());
    if (!read.ok() || read.job.rows.empty()) {
        const std::string why = read.ok() ? "it lists no pagers" : read.error;
        notifier_.show(Text("MsgBatchJobUnreadable", "The list of pagers %s cannot be used: %s",
                            {path.toStdString(), why}));
        return;  // the job shown stays
    }
    jobPath_ = path;
    ui_->edtBatchJob->setText(path);
    loadJob();
}

void BatchWindow::loadJob() {
    const BatchReadResult read = ReadBatchJobFile(jobPath_.toStdString());
    run_.reset();
    refusedRows_ = 0;
    if (!read.ok()) {
        ui_->memBatchProblems->setPlainText(Q(read.error));
        ui_->memBatchProblems->show();
        showRows();
        return;
    }
    const auto problems = CheckBatchJob(read.job, template_.image, template_.capcodeCount);
    QStringList lines;
    for (const BatchProblem& p : problems)
        lines << Q(ProblemText(p, [this](const Message& m) { return text(m); }));
    ui_->memBatchProblems->setPlainText(lines.join(QLatin1Char('\n')));
    ui_->memBatchProblems->setVisible(!problems.empty());
    refusedRows_ = static_cast<int>(problems.size());
    if (problems.empty()) {
        run_ = std::make_unique<BatchRun>(read.job, template_.image, template_.capcodeCount, TodaysDate());
        run_->setRowHook(hooks_.rowFinished);
        if (customerTyped_)
            run_->setCustomer(ui_->edtBatchCustomer->text().trimmed().toStdString());
        else
            ui_->edtBatchCustomer->setText(Q(run_->note().customer));
        resumeFromLog();
    }
    showRows();
}

void BatchWindow::resumeFromLog() {
    if (!hooks_.history) return;
    // Records older than the list's last change belong to what it was then.
    const QString since = QFileInfo(jobPath_).lastModified().toUTC().toString(Qt::ISODateWithMs);
    const std::vector<BatchLogEntry> entries = hooks_.history(jobPath_.toStdString(), since.toStdString());
    if (entries.empty()) return;
    auto resumed = std::make_unique<BatchRun>(*run_);
    const std::size_t verified = resumed->resumeFrom(jobPath_.toStdString(), entries);
    if (verified == 0) return;
    const std::string last = entries.front().timeUtc.substr(0, 10);
    if (!notifier_.ask(Text("MsgBatchResume",
                            "The programming log shows %s of the %s pagers of this list verified, the last on %s. "
                            "Go on with the pagers not verified? No starts the list again from its first pager.",
                            {std::to_string(verified), std::to_string(run_->rowCount()), last})))
        return;
    run_ = std::move(resumed);
    if (!customerTyped_) ui_->edtBatchCustomer->setText(Q(run_->note().customer));
}

// Working the job through -----------------------------------------------------------------------------

void BatchWindow::btnBatchWriteClick() {
    if (busy_ || !run_ || !run_->current()) return;
    const std::size_t k = *run_->current();
    WriteOutcome outcome;
    ConfigImage written = run_->imageToWrite(k);
    if (hooks_.rowStarting) {
        const BatchRow& row = run_->row(k);
        hooks_.rowStarting(row.customer.empty() ? run_->note().customer : row.customer,
                           BatchRowNote(jobPath_.toStdString(), k, row.name));
    }
    {
        const BusyScope busy(busy_);
        enableButtons();
        writing_ = true;
        outcome = board_.write(written);
        writing_ = false;
    }
    if (hooks_.rowStarting) hooks_.rowStarting({}, {});
    run_->recordWrite(outcome == WriteOutcome::Success, written);
    ui_->PBBatchRow->setValue(ui_->PBBatchRow->minimum());
    showRows();
}

void BatchWindow::btnBatchSkipClick() {
    if (busy_ || !run_) return;
    run_->skipCurrent();
    showRows();
}

void BatchWindow::btnBatchRedoClick() {
    if (busy_ || !run_) return;
    run_->redoLast();
    showRows();
}

void BatchWindow::btnBatchStopClick() {
    if (busy_ || !run_) return;
    run_->stop();
    showRows();
}

// The delivery note -------------------------------------------------------------------------------------

void BatchWindow::saveDeliveryNote() {
    if (busy_ || !run_ || !hooks_.saveFile) return;
    QString path = hooks_.saveFile(this, QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    const std::filesystem::path target = path.toStdString();
    std::error_code ec;
    // Only a regular file is replaced: a device or a pipe would block or be lost.
    if (std::filesystem::exists(target, ec) && !std::filesystem::is_regular_file(target, ec)) {
        notifier_.show(NotARegularFileMessage(target.filename().string()));
        return;
    }
    std::string error;
    if (!report::WriteDeliveryNotePdf(run_->note(), target.string(), error))
        notifier_.show(Text("MsgBatchNoteFailed", "The delivery note was not written: %s", {error}));
}

void BatchWindow::printDeliveryNote() {
    if (busy_ || !run_) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    report::PaintDeliveryNote(run_->note(), printer);
}

}  // namespace zrv::link::ui
