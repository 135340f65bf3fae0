#include "app/connection_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

#include "app/main_window.h"
#include "app/pager_menu.h"
#include "i18n/message_catalogue.h"
#include "link/board_session.h"
#include "link/practice_board.h"
#include "link/ui/connection_check_window.h"

namespace zrv::app {

namespace {

const Message kCheckItem{"MenuCheckConnection", "Check Board &Connection..."};
const Message kPracticeItem{"MenuPractice", "Practice With a Simulated Pager"};
const Message kPracticeStatus{"MsgPracticeBoard", "  Practice board: a simulated pager, no real pager is read or written"};
const Message kPracticeTitle{"MsgPracticeTitle", "PRACTICE (simulated pager) - "};
const QColor kPracticeColour(0, 0, 160);

QMenu& RequireMenu(MainWindow& window, const char* name) {
    auto* menu = window.findChild<QMenu*>(QString::fromLatin1(name));
    if (!menu) throw std::logic_error(std::string("the main window has no menu ") + name);
    return *menu;
}

}  // namespace

ConnectionCommands::ConnectionCommands(MainWindow& window, const StartupOptions& options)
    : window_(window), status_(window.require<QLabel>(QStringLiteral("staMsg"))) {
    link::BoardSession& board = window_.boardSession();
    if (options.systemView) board.setSystemView(*options.systemView);
    simulator_ = options.boardSimulator.empty()
                     ? link::FindBoardSimulator(QCoreApplication::applicationDirPath().toStdString())
                     : options.boardSimulator;

    // Unnamed, as the Edit menu's items: their texts are set here, not by
    // the language file's captions of designed controls.
    QMenu& help = RequireMenu(window_, "mnuHelp");
    check_ = new QAction(&help);
    help.insertAction(help.actions().value(0), check_);
    help.insertSeparator(help.actions().value(1));
    QMenu& pager = RequireMenu(window_, "mnuPager");
    pager.addSeparator();
    practice_ = pager.addAction(QString());
    practice_->setCheckable(true);
    practice_->setProperty(kUsableWithoutBoard, true);  // it brings its own board
    for (QMenu* menu : {&help, &pager}) connect(menu, &QMenu::aboutToShow, this, &ConnectionCommands::updateTexts);
    updateTexts();
    connect(check_, &QAction::triggered, this, &ConnectionCommands::checkBoardConnection);
    connect(practice_, &QAction::triggered, this, [this] { practiseWithSimulatedPager(); });

    checkWindow_ = std::make_unique<link::ui::ConnectionCheckWindow>();
    checkWindow_->setHooks({[&board] { return board.checkConnection(); },
                            [this](const Message& m) { return text(m); }});

    // Connected after the Pager menu: the board's state is shown first, then completed here.
    connect(&board, &link::BoardSession::boardStateChanged, this,
            [this](bool connected) { showBoardState(connected); });
    // Offered once the window is up, never from inside the probe.
    connect(&board, &link::BoardSession::connectionCheckOffered, this,
            [this] { QTimer::singleShot(0, this, &ConnectionCommands::offerCheck); });
    status_.installEventFilter(this);
    if (options.practice) practiseWithSimulatedPager();
}

ConnectionCommands::~ConnectionCommands() = default;

std::string ConnectionCommands::text(const Message& message) const {
    return i18n::MessageText(window_.catalogue(), message);
}

void ConnectionCommands::updateTexts() {
    check_->setText(QString::fromStdString(text(kCheckItem)));
    practice_->setText(QString::fromStdString(text(kPracticeItem)));
}

// Check Board Connection ------------------------------------------------------------------------

void ConnectionCommands::checkBoardConnection() {
    window_.commitEditing();
    checkWindow_->move(window_.frameGeometry().center() - checkWindow_->rect().center());
    checkWindow_->run();
}

void ConnectionCommands::offerCheck() {
    const auto& reason = window_.boardSession().noBoardReason();
    if (!reason) return;
    std::string todo = reason->fix.key.empty() ? std::string() : text(reason->fix);
    if (!reason->command.empty()) todo += "\n" + reason->command;
    const std::string told = text(reason->text) + "\n\n" + (todo.empty() ? "" : todo + "\n\n");
    const Message offer{"MsgCheckOffer", told + "Open Check Board Connection now?", MsgIcon::Question, {told}};
    if (window_.notifier().ask(offer)) checkBoardConnection();
}

// The status line --------------------------------------------------------------------------------

void ConnectionCommands::showBoardState(bool connected) {
    const link::BoardSession& board = window_.boardSession();
    fullStatus_.clear();
    status_.setToolTip(QString());
    if (connected && board.practice()) {
        QPalette palette = status_.palette();
        palette.setColor(QPalette::WindowText, kPracticeColour);
        status_.setPalette(palette);
        showStatus(QString::fromStdString(text(kPracticeStatus)), QString());
        return;
    }
    const auto& reason = board.noBoardReason();
    if (connected || !reason) return;
    const QString why = QString::fromStdString(text(reason->text));
    QString tip = why;
    if (!reason->fix.key.empty()) tip += QLatin1Char('\n') + QString::fromStdString(text(reason->fix));
    if (!reason->command.empty()) tip += QLatin1Char('\n') + QString::fromStdString(reason->command);
    showStatus(status_.text() + QLatin1Char(' ') + why, tip);
}

void ConnectionCommands::showStatus(const QString& full, const QString& toolTip) {
    fullStatus_ = full;
    status_.setToolTip(toolTip.isEmpty() ? QString() : toolTip);
    fitStatus();
}

void ConnectionCommands::fitStatus() {
    const int room = std::max(0, status_.contentsRect().width() - 2 * status_.margin() - status_.indent() - 4);
    shownStatus_ = status_.fontMetrics().elidedText(fullStatus_, Qt::ElideRight, room);
    // A text cut short keeps the whole of it as the tool tip.
    if (shownStatus_ != fullStatus_ && status_.toolTip().isEmpty()) status_.setToolTip(fullStatus_.trimmed());
    status_.setText(shownStatus_);
}

bool ConnectionCommands::eventFilter(QObject* watched, QEvent* event) {
    // The window was rescaled: the text is shortened again to the new width,
    // unless the line has been given another text meanwhile.
    if (watched == &status_ && event->type() == QEvent::Resize && !fullStatus_.isEmpty() &&
        status_.text() == shownStatus_)
        fitStatus();
    return QObject::eventFilter(watched, event);
}

// Practice ------------------------------------------------------------------------------------------

bool ConnectionCommands::practiseWithSimulatedPager() {
    if (board_) return true;
    practice_->setChecked(false);
    if (simulator_.empty()) {
        window_.notifier().show({"MsgPracticeNoSimulator",
                                 "The board simulator (boardsim) is not installed beside the program: practice is "
                                 "not possible."});
        return false;
    }
    auto practice = std::make_unique<link::PracticeBoard>(simulator_);
    if (!practice->started()) {
        window_.notifier().show({"MsgPracticeNotStarted",
                                 "The board simulator could not be started (" + practice->error() + ").",
                                 MsgIcon::Exclamation,
                                 {practice->error()}});
        return false;
    }
    board_ = std::move(practice);
    practice_->setChecked(true);
    practice_->setEnabled(false);  // the practice board stays until the program ends
    markWindowTitle();
    window_.boardSession().usePracticeBoard(board_->port());
    return true;
}

void ConnectionCommands::markWindowTitle() {
    const QString mark = QString::fromStdString(text(kPracticeTitle));
    if (!window_.windowTitle().startsWith(mark)) window_.setWindowTitle(mark + window_.windowTitle());
}

}  // namespace zrv::app
