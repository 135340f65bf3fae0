#pragma once
/// \file
/// The programming window `Form1` ("Pager Programmer"): the progress and
/// outcome of a read, write or verify, and the repeated write. It is a view
/// over the link's programming session (link/programming_session.h): the
/// transfers themselves are ProgramRead, ProgramWrite, ProgramVerify and
/// RepeatedWrite, the same functions the command line runs, through the
/// board session. What changes in the main window afterwards goes back
/// through ProgrammingHooks and the session's signals. When a verify (also
/// a write's own) finds differences, the window grows and lists them by
/// field, this configuration beside the pager.

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "core/image.h"
#include "core/notifier.h"
#include "link/board_session.h"

namespace Ui {
class Form1;
}

namespace zrv::link {
class RepeatedWrite;
}

namespace zrv::link::ui {

/// The operation the Pager menu asks for (Read, Write, Verfy).
enum class PendingOperation { Read = 0, Write = 1, Verify = 2 };

/// What one operation works on: the board session, the main window's image
/// and capcode count, and the capcode page the repeated write raises.
struct ProgrammingJob {
    BoardSession* board = nullptr;
    ConfigImage* image = nullptr;
    int* capcodeCount = nullptr;
    int capcodePage = 0;
    /// A read that only looks at the pager (a comparison) closes the window
    /// once it has succeeded; a failed one stays with Exit, as every read.
    bool closeWhenRead = false;
};

/// What the window tells the main window, and what it asks of it. Every
/// member may be left empty.
struct ProgrammingHooks {
    /// The text of a status message in the current language (default: its English text).
    std::function<std::string(const Message&)> text;
    /// Captions of the window's controls and its title in the current language.
    std::function<void(QDialog&)> localise;
    /// A read has replaced the image: band, page selectors, refresh.
    std::function<void()> readSucceeded;
    /// A single write succeeded: the serial-number display.
    std::function<void()> writeSucceeded;
    /// The repeated write raised the capcodes: the capcode boxes follow.
    std::function<void()> capcodesRaised;
    /// One tick of the board polling, run every kIdlePollInterval while the
    /// window waits for the user (never during a transfer), so that the
    /// main window's status line and Pager menu follow the board.
    std::function<void()> pollBoard;
};

/// How often the window polls the board while it waits: as Timer1 does.
inline constexpr int kIdlePollInterval = 3000;

class ProgrammingWindow : public QDialog, private LinkSink {
    Q_OBJECT
public:
    explicit ProgrammingWindow(QWidget* parent = nullptr);
    ~ProgrammingWindow() override;

    void setHooks(ProgrammingHooks hooks) { hooks_ = std::move(hooks); }

    /// Shows the window modally for \p operation on \p job; the operation
    /// starts as soon as the window is up, and the call returns once the
    /// user has left the window with Exit.
    void run(PendingOperation operation, const ProgrammingJob& job);

    /// The operation the window runs when it opens.
    PendingOperation pendingOperation = PendingOperation::Read;
    /// True while a transfer runs: the window cannot be closed then.
    bool busy() const { return busy_; }

    /// Caption and captions in the current language.
    void FormShow();
    /// Runs the pending operation (the window has just opened).
    void FormActivate();
    /// Resets the status line and progress bar for the next showing.
    void FormClose();
    /// One cycle of the repeated write: writes and verifies one pager.
    void cmdWriteClick();
    void cmdExitClick();
    /// Cancel (or Escape) while a transfer runs: it stops before its next
    /// block, the port is closed and a message says what the pager holds.
    void cmdCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    /// Exit, Escape and the close box end here; never during a transfer
    /// (Escape then cancels it).
    void done(int result) override;

private:
    // LinkSink: what the link reports while it works.
    void status(const Message& text, bool busy) override;
    void progressRange(int first, int last) override;
    void progress(int position) override;

    /// True when the pager was read.
    bool runRead();
    void runSingleWrite();
    void startRepeatedWrite();
    void runVerify();
    /// Shows Exit with the focus: the operation has ended.
    void offerExit();
    void setButtonsEnabled(bool on);
    /// Runs \p transfer with the window busy and Cancel offered meanwhile.
    template <class Transfer>
    auto whileBusy(Transfer&& transfer);
    /// A verify found differences: the window grows and lists them by field.
    void showDifferences();
    /// The window at its designed size, without the list.
    void hideDifferences();
    /// \p m in the current language.
    std::string textOf(const Message& m) const;
    /// A tick of the board polling while no transfer runs; the buttons
    /// wait meanwhile.
    void pollWhileIdle();

    std::unique_ptr<Ui::Form1> ui_;
    ProgrammingHooks hooks_;
    ProgrammingJob job_;
    std::unique_ptr<RepeatedWrite> repeated_;
    QTimer* idlePoll_ = nullptr;
    QSize designSize_;
    bool busy_ = false;
    bool started_ = false;  ///< the pending operation of this showing has begun
};

}  // namespace zrv::link::ui
