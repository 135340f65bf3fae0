// The Pager menu (Read, Write, Verfy), the status line and the Pager menu
// that follow the board session's polling, and what a transfer changes in
// the main window. The transfers are the board session's; the programming
// window shows them.
#include "app/pager_menu.h"
#include "app/window_refresh.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <stdexcept>

#include "app/companion_windows.h"
#include "app/main_window.h"
#include "core/cp1252.h"
#include "core/frequency.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/serial_fields.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "link/board_session.h"
#include "link/link_messages.h"
#include "link/ui/programming_window.h"
#include "ota/ui/ota_window.h"

namespace zrv::app {

namespace {

using link::ui::PendingOperation;

const Message kBoardConnect{"Msg54", "  The Programmed Board Connect !"};
const Message kBoardDisconnect{"Msg53", "  The Programmed Board Disconnect !"};
const Message kModifyModeCannotWrite{"Msg63", "Modify Mode can not write! Please check !"};

const QColor kConnectedColour(0, 0, 0);
const QColor kDisconnectedColour(255, 0, 0);

}  // namespace

PagerMenu::PagerMenu(MainWindow& window, link::BoardSession& board)
    : window_(window), board_(board) {
    // Once the write knows the pager's firmware it checks the frequency
    // again as the frequency box's exit check does: on the band the selector
    // shows and the box's text (an empty box shows the stored frequency).
    board_.setFrequencyRecheck([this](ConfigImage& image, bool firmwareUnknown) {
        const int band = BandForWrite(window_, image);
        QString text = window_.require(ctl::edtFreq).text();
        if (text.isEmpty()) text = QString::number(ChannelFrequency(image));
        const FrequencyOutcome outcome = StoreChannelFrequency(image, band, text.toStdString(), firmwareUnknown);
        if (outcome.message) window_.notifier().show(*outcome.message);
        return outcome.ok();
    });
    connect(&board_, &link::BoardSession::boardStateChanged, this, &PagerMenu::showBoardState);
    connect(&board_, &link::BoardSession::boardLost, this, &PagerMenu::showBoardLost);
    connect(&board_, &link::BoardSession::firmwareTextChanged, this,
            [this](const QString& text) { window_.require<QLabel>(QStringLiteral("lblFirmVer")).setText(text); });
    connect(&board_, &link::BoardSession::verifyDifferencesFound, this, [this](const QString& text) {
        if (companions_ && companions_->frmOTA) companions_->frmOTA->memo1().setPlainText(text);
    });
    QAction& read = window_.requireAction(QStringLiteral("mnuRead"));
    QAction& write = window_.requireAction(QStringLiteral("mnuWrite"));
    QAction& verify = window_.requireAction(QStringLiteral("mnuVerfy"));
    connect(&read, &QAction::triggered, this, &PagerMenu::mnuReadClick);
    connect(&write, &QAction::triggered, this, &PagerMenu::mnuWriteClick);
    connect(&verify, &QAction::triggered, this, &PagerMenu::mnuVerfyClick);
    auto* pager = window_.findChild<QMenu*>(QStringLiteral("mnuPager"));
    if (!pager) throw std::logic_error(MissingControlText(QStringLiteral("mnuPager"), "QMenu", nullptr));
    menu_ = pager;
}

// The board's state -----------------------------------------------------------------------------

void PagerMenu::showBoardState(bool connected) {
    // Why a board is missing is added by the connection commands.
    showBoardStatus(connected ? kBoardConnect : kBoardDisconnect, connected);
}

void PagerMenu::showLogStatus(const QString& text) {
    logStatus_ = text;
    window_.require<QLabel>(QStringLiteral("staMsg")).setText(boardStatus_ + QStringLiteral("   ") + logStatus_);
}

void PagerMenu::showBoardLost() { showBoardStatus(link::msg::BoardDisconnect(), false); }

void PagerMenu::showBoardStatus(const Message& text, bool connected) {
    auto& status = window_.require<QLabel>(QStringLiteral("staMsg"));
    QPalette palette = status.palette();
    palette.setColor(QPalette::WindowText, connected ? kConnectedColour : kDisconnectedColour);
    status.setPalette(palette);
    boardStatus_ = QStringLiteral("  ") + QString::fromStdString(i18n::MessageText(window_.catalogue(), text));
    status.setText(logStatus_.isEmpty() ? boardStatus_ : boardStatus_ + QStringLiteral("   ") + logStatus_);
    status.repaint();
    // The Pager menu's items need a board, but for those that bring their
    // own; the menu itself stays open, so that they can be reached.
    for (QAction* item : menu_->actions())
        if (!item->isSeparator() && !item->property(kUsableWithoutBoard).toBool()) item->setEnabled(connected);
}

// The Pager menu -----------------------------------------------------------------------------------

bool PagerMenu::pagerOperationPossible() const {
    return !board_.portInUse() && board_.boardPort().has_value() && companions_ && companions_->Form1;
}

void PagerMenu::mnuReadClick() {
    if (pagerOperationPossible()) runPagerOperation(PendingOperation::Read);
}

void PagerMenu::mnuWriteClick() {
    window_.commitEditing();  // the field being edited stores its value first
    QCoreApplication::processEvents();
    if (!pagerOperationPossible()) return;
    if (window_.require<QRadioButton>(QStringLiteral("RBtModify")).isChecked()) {
        window_.notifier().show(kModifyModeCannotWrite);
        return;
    }
    if (confirmWrite_ && !confirmWrite_()) return;
    runPagerOperation(PendingOperation::Write);
}

void PagerMenu::mnuVerfyClick() {
    if (pagerOperationPossible()) runPagerOperation(PendingOperation::Verify);
}

void PagerMenu::prepareProgrammingWindow(link::ui::ProgrammingHooks hooks) {
    link::ui::ProgrammingWindow& programming = *companions_->Form1;
    hooks.text = [this](const Message& m) { return i18n::MessageText(window_.catalogue(), m); };
    hooks.localise = [this](QDialog& w) { window_.localise(w, i18n::kProgrammingWindow); };
    // The status line follows the board while the window is open, as Timer1
    // makes it do otherwise.
    hooks.pollBoard = [this] { board_.pollWhileHeld(); };
    programming.setHooks(std::move(hooks));
    programming.move(window_.frameGeometry().center() - programming.rect().center());  // centred on the main window
}

bool PagerMenu::readPagerInto(ConfigImage& scratch) {
    if (!pagerOperationPossible()) return false;
    board_.beginPortUse();
    bool read = false;
    link::ui::ProgrammingHooks hooks;
    hooks.readSucceeded = [&read] { read = true; };  // only the scratch image changed
    prepareProgrammingWindow(std::move(hooks));
    int capcodeCount = window_.document().capcodeCount();
    link::ui::ProgrammingJob job{&board_, &scratch, &capcodeCount, window_.state().capcodePage};
    job.closeWhenRead = true;
    link::ui::ProgrammingWindow& programming = *companions_->Form1;
    programming.run(PendingOperation::Read, job);
    board_.endPortUse();
    return read;
}

void PagerMenu::runPagerOperation(PendingOperation operation) {
    board_.beginPortUse();
    link::ui::ProgrammingHooks hooks;
    // After a read the capcode count is the 16 of every load, so the page
    // selectors keep their entries and their pages; only a load rebuilds them.
    hooks.readSucceeded = [this] {
        SelectBandFromImage(window_);
        window_.refreshAll();
    };
    hooks.writeSucceeded = [this] {
        window_.require(ctl::txtSN).setText(QString::fromStdString(PagerSerialText(window_.image())));
    };
    hooks.capcodesRaised = [this] { window_.refreshSlot(RefreshSlot::CapcodePage); };
    prepareProgrammingWindow(std::move(hooks));
    link::ui::ProgrammingWindow& programming = *companions_->Form1;

    Document& document = window_.document();
    // What the transfer changes (a read's image, a write's serial number and
    // raised capcodes) is one change of the document when it has ended.
    const Document::Hold hold(document, operation == PendingOperation::Read ? ChangeOrigin::Read : ChangeOrigin::Write);
    ConfigImage& image = document.image();
    int capcodeCount = document.capcodeCount();
    const link::ui::ProgrammingJob job{&board_, &image, &capcodeCount, window_.state().capcodePage};
    // A write and a verify send the texts in the pager's character set.
    const bool convertTexts = operation != PendingOperation::Read;
    if (convertTexts) ConvertTextsToPager(image);
    programming.run(operation, job);
    if (convertTexts) ConvertTextsFromPager(image);
    document.setCapcodeCount(capcodeCount);
    if (operation == PendingOperation::Write) {
        window_.refreshAll();
        if (window_.require<QRadioButton>(QStringLiteral("RBtWrite")).isChecked()) window_.RBtWriteClick();
    }
    board_.endPortUse();
}

int BandForWrite(const MainWindow& window, const ConfigImage& image) {
    const int selected = window.require(ctl::cboFreq).currentIndex();
    return selected >= 0 ? selected : BandFromImage(image).value_or(0);
}

void PagerMenu::writeScannedSerial(const QString& serial) {
    window_.require(ctl::txtSN).setText(serial);
    StorePagerSerialNumber(window_.image(), Utf8ToCp1252(serial.toStdString()));
    board_.setKeepPagerSerial(false);
    window_.requireAction(QStringLiteral("mnuWrite")).trigger();  // the Pager menu's Write command
    board_.setKeepPagerSerial(true);
}

}  // namespace zrv::app
