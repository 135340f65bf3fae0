#include "link/ui/programming_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "core/comparison_rows.h"
#include "ui/kit/comparison_table.h"
#include "ui/kit/window_setup.h"
#include "link/programming_session.h"
#include "ui_programming_window.h"

namespace zrv::link::ui {

namespace {

/// Marks a transfer as running for as long as it lasts.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

}  // namespace

ProgrammingWindow::ProgrammingWindow(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::Form1>()) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, i18n::kProgrammingWindow);
    designSize_ = size();
    setFixedSize(designSize_);
    connect(ui_->cmdWrite, &QPushButton::clicked, this, &ProgrammingWindow::cmdWriteClick);
    connect(ui_->cmdExit, &QPushButton::clicked, this, &ProgrammingWindow::cmdExitClick);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &ProgrammingWindow::cmdCancelClick);
    idlePoll_ = new QTimer(this);
    idlePoll_->setInterval(kIdlePollInterval);
    connect(idlePoll_, &QTimer::timeout, this, &ProgrammingWindow::pollWhileIdle);
}

ProgrammingWindow::~ProgrammingWindow() = default;

void ProgrammingWindow::run(PendingOperation operation, const ProgrammingJob& job) {
    pendingOperation = operation;
    job_ = job;
    started_ = false;
    hideDifferences();  // the list of an earlier verify is not this operation's
    if (job_.board) job_.board->setProgressSink(static_cast<LinkSink*>(this));
    // The main window's polling stops while the window is open; the window
    // polls in its place whenever no transfer runs.
    if (hooks_.pollBoard) idlePoll_->start();
    exec();
    idlePoll_->stop();
    if (job_.board) job_.board->setProgressSink(nullptr);
    repeated_.reset();
    job_ = {};
}

// Show, activate, close ------------------------------------------------------------------------

void ProgrammingWindow::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // The operation runs from the window's own event loop once it is up.
        QMetaObject::invokeMethod(this, &ProgrammingWindow::FormActivate, Qt::QueuedConnection);
    }
}

void ProgrammingWindow::FormShow() {
    if (hooks_.localise) hooks_.localise(*this);
}

void ProgrammingWindow::FormActivate() {
    if (!job_.board || !job_.image) {
        offerExit();
        return;
    }
    job_.board->clearFirmwareText();
    ui_->lblMsg2->hide();
    ui_->Image1->hide();
    ui_->cmdWrite->hide();
    ui_->cmdExit->hide();
    switch (pendingOperation) {
        case PendingOperation::Read:
            if (runRead() && job_.closeWhenRead) {
                accept();
                return;
            }
            break;
        case PendingOperation::Write:
            if (job_.board->autoIncrease().any()) {
                startRepeatedWrite();
                return;  // the Write button takes over
            }
            runSingleWrite();
            break;
        case PendingOperation::Verify: runVerify(); break;
    }
    offerExit();
}

void ProgrammingWindow::FormClose() {
    ui_->lblMsg->clear();
    ui_->PB1->setValue(ui_->PB1->minimum());
    ui_->Image1->hide();
    ui_->lblMsg2->hide();
    ui_->lblMsg->show();
    ui_->PB1->show();
    ui_->lblAuto1->hide();
    ui_->lblAuto2->hide();
}

void ProgrammingWindow::closeEvent(QCloseEvent* event) {
    // A transfer is never left half-way: the close box waits for its end.
    if (busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ProgrammingWindow::done(int result) {
    if (busy_) {  // Escape during a transfer cancels it; the window stays
        cmdCancelClick();
        return;
    }
    FormClose();
    QDialog::done(result);
}

void ProgrammingWindow::cmdExitClick() {
    accept();
    ui_->cmdExit->hide();
}

void ProgrammingWindow::cmdCancelClick() {
    if (!busy_ || !job_.board) return;
    job_.board->cancelTransfer();
    ui_->cmdCancel->setEnabled(false);  // asked once; the transfer stops at its next block
}

template <class Transfer>
auto ProgrammingWindow::whileBusy(Transfer&& transfer) {
    const bool exitShown = ui_->cmdExit->isVisible();
    ui_->cmdExit->hide();
    ui_->cmdCancel->setEnabled(true);
    ui_->cmdCancel->show();
    ui_->cmdCancel->setFocus();
    const BusyScope busy(busy_);
    const auto result = transfer();
    ui_->cmdCancel->hide();
    ui_->cmdExit->setVisible(exitShown);
    return result;
}

// The operations ------------------------------------------------------------------------------

bool ProgrammingWindow::runRead() {
    const bool ok = whileBusy([this] {
        int count = job_.capcodeCount ? *job_.capcodeCount : 0;
        const bool read = job_.board->read(*job_.image, count);
        if (read && job_.capcodeCount) *job_.capcodeCount = count;
        return read;
    });
    if (ok && hooks_.readSucceeded) hooks_.readSucceeded();
    return ok;
}

void ProgrammingWindow::runSingleWrite() {
    const WriteOutcome outcome = whileBusy([this] { return job_.board->write(*job_.image); });
    if (outcome == WriteOutcome::Success && hooks_.writeSucceeded) hooks_.writeSucceeded();
    if (outcome == WriteOutcome::VerifyError) showDifferences();
}

void ProgrammingWindow::startRepeatedWrite() {
    const CapcodeAutoIncrease increase = job_.board->autoIncrease();
    ui_->lblAuto1->setVisible(increase.first);
    ui_->lblAuto2->setVisible(increase.second);
    repeated_ = job_.board->repeatedWrite(*job_.image, job_.capcodePage);
    ui_->cmdWrite->show();
    ui_->cmdExit->show();
    setButtonsEnabled(true);
    ui_->cmdWrite->setFocus();
}

void ProgrammingWindow::cmdWriteClick() {
    if (!repeated_ || busy_) return;
    setButtonsEnabled(false);
    hideDifferences();
    ui_->lblAuto1->setText(QString::fromStdString(repeated_->firstCapcodeLabel()));
    ui_->lblAuto2->setText(QString::fromStdString(repeated_->secondCapcodeLabel()));
    const WriteOutcome outcome = whileBusy([this] { return repeated_->cycle(); });
    if (outcome == WriteOutcome::Success && hooks_.capcodesRaised) hooks_.capcodesRaised();
    if (outcome == WriteOutcome::VerifyError) showDifferences();
    setButtonsEnabled(true);
    if (outcome == WriteOutcome::Success) ui_->cmdWrite->setFocus();
}

void ProgrammingWindow::runVerify() {
    const bool same = whileBusy([this] { return job_.board->verify(*job_.image); });
    if (!same) showDifferences();
}

void ProgrammingWindow::showDifferences() {
    // A verify whose read failed compared nothing and lists nothing.
    const std::vector<ComparisonRow> rows = ComparisonRows(job_.board->verifyComparison());
    if (rows.empty()) return;
    QTableWidget& list = *ui_->grdDifferences;
    kit::SetUpComparisonTable(list, {QString::fromStdString(textOf(FieldHeading())),
                                     QString::fromStdString(textOf(ThisConfigurationHeading())),
                                     QString::fromStdString(textOf(ThePagerHeading()))});
    setFixedSize(designSize_.width(), list.geometry().bottom() + list.x() + 1);
    list.show();
    kit::ShowComparisonRows(list, rows);
}

void ProgrammingWindow::hideDifferences() {
    ui_->grdDifferences->hide();
    ui_->grdDifferences->clearContents();
    ui_->grdDifferences->setRowCount(0);
    setFixedSize(designSize_);
}

void ProgrammingWindow::offerExit() {
    ui_->cmdExit->show();
    ui_->cmdExit->setEnabled(true);
    ui_->cmdExit->setFocus();
}

void ProgrammingWindow::pollWhileIdle() {
    if (busy_ || !hooks_.pollBoard) return;
    // A probe for a board that has come back talks on the port and keeps
    // the window alive meanwhile: no button may start a transfer then.
    const bool writeOn = ui_->cmdWrite->isEnabled();
    const bool exitOn = ui_->cmdExit->isEnabled();
    setButtonsEnabled(false);
    {
        const BusyScope busy(busy_);
        hooks_.pollBoard();
    }
    ui_->cmdWrite->setEnabled(writeOn);
    ui_->cmdExit->setEnabled(exitOn);
}

void ProgrammingWindow::setButtonsEnabled(bool on) {
    ui_->cmdWrite->setEnabled(on);
    ui_->cmdExit->setEnabled(on);
}

// What the link reports ---------------------------------------------------------------------------

std::string ProgrammingWindow::textOf(const Message& m) const { return hooks_.text ? hooks_.text(m) : m.english; }

void ProgrammingWindow::status(const Message& text, bool running) {
    const std::string word = textOf(text);
    ui_->lblMsg->setText(QString::fromStdString("  " + word + (running ? " ......" : "")));
    ui_->lblMsg->repaint();
}

void ProgrammingWindow::progressRange(int first, int last) { ui_->PB1->setRange(first, std::max(first, last)); }

void ProgrammingWindow::progress(int position) {
    ui_->PB1->setValue(std::clamp(position, ui_->PB1->minimum(), ui_->PB1->maximum()));
}

}  // namespace zrv::link::ui
