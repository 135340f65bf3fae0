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
#include "report/delivery_note_pdf.h"
#include "ui/kit/window_setup.h"
#include "ui_batch_window.h"

namespace zrv::link::ui {

namespace {

constexpr int kIdlePollInterval = 3000;  // as Timer1 polls
enum Column { kNumber, kName, kCapcode, kState };

/// A message of the window: the catalogue's text for \p key formatted with
/// \p args, or \p english with them when the catalogue has none.
Message Text(const char* key, const char* english, std::vector<std::string> args = {}) {
    const std::vector<i18n::FormatArg> placed(args.begin(), args.end());
    return Message{key, i18n::SafeFormat(english, placed), MsgIcon::Exclamation, std::move(args)};
}

Message StateText(BatchRowState state) {
    switch (state) {
        case BatchRowState::Waiting: return Text("BatchStateWaiting", "waiting");
        case BatchRowState::Written: return Text("BatchStateWritten", "written");
        case BatchRowState::Verified: return Text("BatchStateVerified", "verified");
        case BatchRowState::Failed: return Text("BatchStateFailed", "failed");
        case BatchRowState::Skipped: return Text("BatchStateSkipped", "skipped");
    }
    return Text("", "?");
}

QColor StateColour(BatchRowState state) {
    switch (state) {
        case BatchRowState::Verified: return QColor(0, 110, 0);
        case BatchRowState::Failed: return QColor(200, 0, 0);
        case BatchRowState::Skipped: return QColor(110, 110, 110);
        default: return QColor(0, 0, 0);
    }
}

const QColor kCurrentRowColour(255, 236, 140);

/// Marks a write as running for as long as it lasts.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

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
    if (busy_) return;
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
    }
    showRows();
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
                           "batch " + jobPath_.toStdString() + ", row " + std::to_string(k + 1) + " (" + row.name + ")");
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

// What the window shows ---------------------------------------------------------------------------------

void BatchWindow::showRows() {
    auto* grid = ui_->grdBatchRows;
    const int rows = run_ ? static_cast<int>(run_->rowCount()) : 0;
    grid->setRowCount(rows);
    for (int k = 0; k < rows; ++k) showRow(static_cast<std::size_t>(k));
    if (run_ && run_->current())
        grid->scrollToItem(grid->item(static_cast<int>(*run_->current()), kName));
    ui_->PBBatchJob->setMaximum(std::max(rows, 1));
    ui_->PBBatchJob->setValue(run_ ? static_cast<int>(run_->rowsDone()) : 0);
    ui_->PBBatchJob->setTextVisible(run_ != nullptr);  // "2 / 4" only with a job
    showPrompt();
    enableButtons();
    // Write is where Enter goes next, unless the user is typing the customer.
    if (ui_->btnBatchWrite->isEnabled() && !ui_->edtBatchCustomer->hasFocus()) ui_->btnBatchWrite->setFocus();
}

void BatchWindow::showRow(std::size_t k) {
    auto* grid = ui_->grdBatchRows;
    const int r = static_cast<int>(k);
    const BatchRowState state = run_->state(k);
    const QString cells[] = {QString::number(r + 1), Q(run_->row(k).name),
                             QStringLiteral("%1").arg(CapcodeAt(run_->plannedImage(k), 0), 7, 10, QLatin1Char('0')),
                             Q(text(StateText(state)))};
    const bool current = run_->current() == k;
    for (int c = 0; c < 4; ++c) {
        QTableWidgetItem* item = grid->item(r, c);
        if (!item) {
            item = new QTableWidgetItem;
            grid->setItem(r, c, item);
        }
        item->setText(cells[c]);
        QFont font = item->font();
        font.setBold(current);
        item->setFont(font);
        item->setBackground(current ? QBrush(kCurrentRowColour) : QBrush());
        if (c == kState) item->setForeground(StateColour(state));
    }
}

void BatchWindow::showPrompt() {
    Message prompt;
    if (refusedRows_ > 0) {
        prompt = Text("MsgBatchRefused", "Rows that cannot be programmed: %d. Nothing was written.",
                      {std::to_string(refusedRows_)});
    } else if (!run_) {
        prompt = Text("MsgBatchChooseJob", "Choose the list of pagers (CSV).");
    } else if (const auto k = run_->current()) {
        const std::string name = run_->row(*k).name;
        prompt = run_->state(*k) == BatchRowState::Failed
                     ? Text("MsgBatchRowFailed", "Pager %s failed: Write tries it again, Skip passes it.", {name})
                     : Text("MsgBatchInsert", "Insert pager %s and press Write.", {name});
    } else {
        const std::string summary = DeliverySummary(run_->note());
        prompt = run_->stopped() ? Text("MsgBatchStopped", "The job was stopped: %s.", {summary})
                                 : Text("MsgBatchDone", "The job has ended: %s.", {summary});
    }
    ui_->lblBatchPrompt->setText(Q(text(prompt)));
}

void BatchWindow::enableButtons() {
    const bool idle = !busy_;
    const bool writable = idle && run_ && run_->current();
    ui_->btnBatchWrite->setEnabled(writable);
    ui_->btnBatchSkip->setEnabled(writable);
    ui_->btnBatchStop->setEnabled(writable);
    ui_->btnBatchRedo->setEnabled(idle && run_ && run_->redoable());
    ui_->btnBatchNote->setEnabled(idle && run_);
    ui_->btnBatchClose->setEnabled(idle);
    // A job under way keeps its template and list.
    const bool choosable = idle && (!run_ || run_->rowsDone() == 0);
    ui_->btnBatchTemplate->setEnabled(choosable);
    ui_->btnBatchJob->setEnabled(choosable);
}

void BatchWindow::pollWhileIdle() {
    if (busy_ || !hooks_.pollBoard) return;
    // A probe for a board that has come back talks on the port: no button
    // may start a write meanwhile. The focus stays where the user left it.
    QPointer<QWidget> focus = focusWidget();
    {
        const BusyScope busy(busy_);
        enableButtons();
        hooks_.pollBoard();
    }
    enableButtons();
    if (focus && focus->isEnabled()) focus->setFocus();
}

// What the link reports -----------------------------------------------------------------------------------

void BatchWindow::status(const Message& message, bool running) {
    // The verify has begun: the pager holds the row's bytes.
    if (writing_ && running && message.key == msg::kVerifyingKey && run_ && run_->current()) {
        run_->markWritten();
        showRow(*run_->current());
    }
    ui_->lblBatchMsg->setText(Q("  " + text(message) + (running ? " ......" : "")));
    ui_->lblBatchMsg->repaint();
}

void BatchWindow::progressRange(int first, int last) {
    ui_->PBBatchRow->setRange(first, std::max(first, last));
}

void BatchWindow::progress(int position) {
    ui_->PBBatchRow->setValue(std::clamp(position, ui_->PBBatchRow->minimum(), ui_->PBBatchRow->maximum()));
}

}  // namespace zrv::link::ui
