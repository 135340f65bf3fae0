// The Pager menu (Read, Write, Verfy), the board polling of Timer1 with the
// status line and the Pager menu that follow it, the start-up probe and the
// release of the board at close. The transfers are the link's programming
// session; the programming window shows them, and this file puts their
// outcome into the main window.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "app/companion_windows.h"
#include "app/main_window.h"
#include "core/frequency.h"
#include "core/pager_charset.h"
#include "core/serial_fields.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "link/link_messages.h"
#include "link/programmer_link.h"
#include "link/programming_session.h"
#include "link/ui/programming_window.h"
#include "ota/ui/ota_window.h"
#include "ui_main_window.h"

namespace zrv::app {

namespace {

using link::ui::PendingOperation;

constexpr int kPollInterval = 3000;
/// The status line's texts of the polling; their defaults begin with two blanks.
const Message kBoardConnect{"Msg54", "  The Programmed Board Connect !"};
const Message kBoardDisconnect{"Msg53", "  The Programmed Board Disconnect !"};
const Message kModifyModeCannotWrite{"Msg63", "Modify Mode can not write! Please check !"};

const QColor kConnectedColour(0, 0, 0);
const QColor kDisconnectedColour(255, 0, 0);

}  // namespace

void MainWindow::setUpPagerCommands() {
    link_->setTiming(link::LinkTimingFromEnvironment());
    // Once the write knows the pager's firmware it checks the frequency
    // again as the frequency box's exit check does: on the band the selector
    // shows and the box's text (an empty box shows the stored frequency).
    link_->setFrequencyRecheck([this](ConfigImage& image, bool firmwareUnknown) {
        const int selected = require(ctl::cboFreq).currentIndex();
        const int band = selected >= 0 ? selected : BandFromImage(image).value_or(0);
        QString text = require(ctl::edtFreq).text();
        if (text.isEmpty()) text = QString::number(ChannelFrequency(image));
        const FrequencyOutcome outcome = StoreChannelFrequency(image, band, text.toStdString(), firmwareUnknown);
        if (outcome.message) notifier_->show(*outcome.message);
        return outcome.ok();
    });
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kPollInterval);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    connect(ui_->mnuRead, &QAction::triggered, this, &MainWindow::mnuReadClick);
    connect(ui_->mnuWrite, &QAction::triggered, this, &MainWindow::mnuWriteClick);
    connect(ui_->mnuVerfy, &QAction::triggered, this, &MainWindow::mnuVerfyClick);
}

// Board detection --------------------------------------------------------------------------------

void MainWindow::probeAtStartUp() {
    beginPortUse();
    link_->StartupProbe = true;
    const bool found = link_->ProbeBoard();
    link_->StartupProbe = false;
    // The Pager menu is offered only with a board, from the start on.
    showBoardState(found);
    polling_ = true;
    timer1_->start();
    endPortUse();
}

void MainWindow::Timer1Timer() {
    if (portInUse_) return;  // the timer is off while the port is in use; a late tick waits
    timer1_->stop();
    beginPortUse();
    const bool connected = link_->PollBoard();
    showBoardState(connected);
    timer1_->start();
    endPortUse();
}

void MainWindow::showBoardState(bool connected) {
    showBoardStatus(connected ? kBoardConnect : kBoardDisconnect, connected);
    // A port the user may not open: say which and what to do.
    if (!connected && !link_->PortRefusal.empty())
        ui_->staMsg->setText(ui_->staMsg->text() + QStringLiteral(" (") +
                             QString::fromStdString(link_->PortRefusal) + QLatin1Char(')'));
}

void MainWindow::showBoardLost() { showBoardStatus(link::msg::BoardDisconnect(), false); }

void MainWindow::showBoardStatus(const Message& text, bool connected) {
    QLabel* status = ui_->staMsg;
    QPalette palette = status->palette();
    palette.setColor(QPalette::WindowText, connected ? kConnectedColour : kDisconnectedColour);
    status->setPalette(palette);
    status->setText(QStringLiteral("  ") + QString::fromStdString(i18n::MessageText(*catalogue_, text)));
    status->repaint();
    for (QAction* a : {ui_->mnuPager->menuAction(), ui_->mnuRead, ui_->mnuWrite, ui_->mnuVerfy})
        a->setEnabled(connected);
}

void MainWindow::endPortUse() {
    portInUse_ = false;
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

bool MainWindow::closeWaitsForPort(QCloseEvent* event) {
    if (!portInUse_) return false;
    // The window closes (and releases the board) once the exchange on the
    // port has ended, never in the middle of it.
    closePending_ = true;
    event->ignore();
    return true;
}

void MainWindow::FormClose() {
    if (timer1_) timer1_->stop();
    if (link_ && link_->BoardPort) link_->BoardControl(link::BoardCommand::Release);
}

// The Pager menu -----------------------------------------------------------------------------------

bool MainWindow::pagerOperationPossible() const {
    return !portInUse_ && link_->BoardPort.has_value() && companions_ && companions_->Form1;
}

void MainWindow::mnuReadClick() {
    if (pagerOperationPossible()) runPagerOperation(PendingOperation::Read);
}

void MainWindow::mnuWriteClick() {
    commitEditing();  // the field being edited stores its value first
    QCoreApplication::processEvents();
    if (!pagerOperationPossible()) return;
    if (ui_->RBtModify->isChecked()) {
        notifier_->show(kModifyModeCannotWrite);
        return;
    }
    runPagerOperation(PendingOperation::Write);
}

void MainWindow::mnuVerfyClick() {
    if (pagerOperationPossible()) runPagerOperation(PendingOperation::Verify);
}

void MainWindow::runPagerOperation(PendingOperation operation) {
    beginPortUse();
    timer1_->stop();
    link::ui::ProgrammingWindow& window = *companions_->Form1;
    link::ui::ProgrammingHooks hooks;
    hooks.text = [this](const Message& m) { return i18n::MessageText(*catalogue_, m); };
    hooks.localise = [this](QDialog& w) { localise(w, i18n::kProgrammingWindow); };
    hooks.firmwareText = [this](const std::string& t) { ui_->lblFirmVer->setText(QString::fromStdString(t)); };
    hooks.boardDisconnected = [this] { showBoardLost(); };
    hooks.verifyDifferences = [this](const std::string& t) {
        if (companions_ && companions_->frmOTA) companions_->frmOTA->memo1().setPlainText(QString::fromStdString(t));
    };
    // After a read the capcode count is the 16 of every load, so the page
    // selectors keep their entries and their pages; only a load rebuilds them.
    hooks.readSucceeded = [this] {
        selectBandFromImage();
        refreshAll();
    };
    hooks.writeSucceeded = [this] {
        require(ctl::txtSN).setText(QString::fromStdString(PagerSerialText(image_)));
    };
    hooks.capcodesRaised = [this] { refreshSlot(RefreshSlot::CapcodePage); };
    // The status line follows the board while the window is open, as Timer1
    // makes it do otherwise.
    hooks.pollBoard = [this] { showBoardState(link_->PollBoard()); };
    window.setHooks(std::move(hooks));
    window.move(frameGeometry().center() - window.rect().center());  // centred on the main window

    int capcodeCount = document_.capcodeCount();
    const link::ui::ProgrammingJob job{link_.get(), notifier_, &image_, &capcodeCount, state_.capcodePage};
    // What the transfer changes (a read's image, a write's serial number and
    // raised capcodes) is one change of the document when it has ended.
    const Document::Hold hold(document_, operation == PendingOperation::Read ? ChangeOrigin::Read : ChangeOrigin::Write);
    // A write and a verify send the texts in the pager's character set.
    const bool convertTexts = operation != PendingOperation::Read;
    if (convertTexts) ConvertTextsToPager(image_);
    window.run(operation, job);
    if (convertTexts) ConvertTextsFromPager(image_);
    document_.setCapcodeCount(capcodeCount);
    if (operation == PendingOperation::Write) {
        refreshAll();
        if (ui_->RBtWrite->isChecked()) RBtWriteClick();
    }
    if (polling_) timer1_->start();
    endPortUse();
}

}  // namespace zrv::app
