#pragma once
/// \file
/// The Pager menu (Read, Write, Verfy) and what the main window shows of the
/// board: the status line and the Pager menu follow the board session's
/// polling, the firmware label and the OTA window's memo follow its
/// transfers. A transfer runs in the programming window; its outcome comes
/// back into the main window here.

#include <QObject>
#include <functional>
#include <vector>

#include "core/image.h"
#include "core/notifier.h"

class QAction;
class QMenu;

namespace zrv::link {
class BoardSession;
}
namespace zrv::link::ui {
enum class PendingOperation;
struct ProgrammingHooks;
}

namespace zrv::app {

class CompanionWindows;
class MainWindow;

/// The property of a Pager menu item that is offered without a board too.
inline constexpr const char* kUsableWithoutBoard = "usableWithoutBoard";

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
    /// What the programming log made of the last operation ("Logged", or
    /// why not): shown on the status line after the board's state until
    /// the next operation.
    void showLogStatus(const QString& text);

    /// Reads the pager into \p scratch in the programming window, as Read
    /// does, but leaves the document and the main window as they are; the
    /// window closes by itself once the read has succeeded. False when
    /// nothing could start or the read failed (the window said why).
    bool readPagerInto(ConfigImage& scratch);
    /// Asked by Write once it may write, before the programming window
    /// opens: false writes nothing. Empty: Write writes at once.
    void setWriteConfirmation(std::function<bool()> confirm) { confirmWrite_ = std::move(confirm); }

private:
    /// Runs \p operation in the programming window with the port held.
    void runPagerOperation(link::ui::PendingOperation operation);
    /// What every operation's programming window needs of the main window:
    /// texts, captions and the board polling while it waits.
    void prepareProgrammingWindow(link::ui::ProgrammingHooks hooks);
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
    QMenu* menu_ = nullptr;  ///< the Pager menu
    std::function<bool()> confirmWrite_;
    QString logStatus_;                ///< what the log made of the last operation
    QString boardStatus_;              ///< the board's state as last shown
};

/// The band a write checks the frequency on: the one the band selector
/// shows, else the one \p image names, else the first.
int BandForWrite(const MainWindow& window, const ConfigImage& image);

}  // namespace zrv::app
