#pragma once
/// \file
/// The Pager menu (Read, Write, Verfy) and what the main window shows of the
/// board: the status line and the Pager menu follow the board session's
/// polling, the firmware label and the OTA window's memo follow its
/// transfers. A transfer runs in the programming window; its outcome comes
/// back into the main window here.

#include <QObject>
#include <vector>

#include "core/notifier.h"

class QAction;

namespace zrv::link {
class BoardSession;
}
namespace zrv::link::ui {
enum class PendingOperation;
}

namespace zrv::app {

class CompanionWindows;
class MainWindow;

class PagerMenu : public QObject {
    Q_OBJECT
public:
    /// Connects the Pager menu of \p window and its status line to \p board.
    PagerMenu(MainWindow& window, link::BoardSession& board);

    /// The programming and OTA windows, once they exist.
    void setCompanions(CompanionWindows* companions) { companions_ = companions; }

    void mnuReadClick();
    void mnuWriteClick();
    void mnuVerfyClick();
    /// A scanned serial number: shown and stored, then written to the pager
    /// in the board with that serial number instead of the pager's own.
    void writeScannedSerial(const QString& serial);

private:
    /// Runs \p operation in the programming window with the port held.
    void runPagerOperation(link::ui::PendingOperation operation);
    /// False (and nothing starts) without a known board or while the port is in use.
    bool pagerOperationPossible() const;
    /// Shows the board state of a poll: black "Connect", or red "Disconnect".
    void showBoardState(bool connected);
    /// The board was lost during a transfer: red status at once, Pager menu off.
    void showBoardLost();
    void showBoardStatus(const Message& text, bool connected);

    MainWindow& window_;
    link::BoardSession& board_;
    CompanionWindows* companions_ = nullptr;
    std::vector<QAction*> menuItems_;  ///< the Pager menu's Read, Write and Verfy
};

}  // namespace zrv::app
