#pragma once
/// \file
/// The Batch Job window `frmBatch`: a customer's list of pagers programmed
/// one after another over a template. The job is read and checked as a
/// whole before any pager is written; then each row's pager is written and
/// verified through the board session, as the programming window's write
/// is, while the window shows the rows and their states, what to do next,
/// and the progress of the pager and of the job. The rules of the job are
/// core/batch_run.h, the same the command line's batch runs.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/batch_run.h"
#include "core/image.h"
#include "core/notifier.h"
#include "i18n/captions.h"
#include "link/board_session.h"

class QTimer;

namespace Ui {
class frmBatch;
}

namespace zrv::link::ui {

/// The window's caption key in the language file and its designed caption.
inline constexpr i18n::WindowCaption kBatchWindow{"frmBatch", "Batch Job"};

/// What the window asks of the program around it. Every member may be left
/// empty.
struct BatchHooks {
    /// The text of a message in the current language (default: its English text).
    std::function<std::string(const Message&)> text;
    /// Captions of the window's controls and its title in the current language.
    std::function<void(QDialog&)> localise;
    /// The file the user chooses to open (\p filter: "Table files (*.tbl)");
    /// empty when cancelled.
    std::function<QString(QWidget* parent, const QString& filter)> openFile;
    /// The file the user chooses to save the delivery note to; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& filter)> saveFile;
    /// One tick of the board polling, run every few seconds while the window
    /// waits for the user (never during a write).
    std::function<void()> pollBoard;
    /// Called before each row's write with what the programming log keeps
    /// with its record: the customer and a note naming the job and the row.
    std::function<void(const std::string& customer, const std::string& note)> rowStarting;
    /// The programming log's records of the job in the file \p job written
    /// since \p sinceUtc, newest first: how an earlier run of the list
    /// ended, so that a job cut short by a crash or a close goes on.
    std::function<std::vector<BatchLogEntry>(const std::string& job, const std::string& sinceUtc)> history;
    /// Called after each row's write and each skip with the row, its state
    /// and the image as written: where the programming log keeps the job.
    BatchRun::RowHook rowFinished;
};

/// The template a job starts from when the user chooses none: the document
/// open in the main window.
struct BatchTemplate {
    QString label;  ///< how the window names it ("ward3.tbl")
    ConfigImage image;
    int capcodeCount = 16;
};

class BatchWindow : public QDialog, private LinkSink {
    Q_OBJECT
public:
    BatchWindow(BoardSession& board, Notifier& notifier, QWidget* parent = nullptr);
    ~BatchWindow() override;

    void setHooks(BatchHooks hooks) { hooks_ = std::move(hooks); }

    /// Shows the window modally with \p documentTemplate as the template;
    /// returns when the user has closed it. The board's transfers report to
    /// the window meanwhile, and a write checks the frequency against the
    /// row's own image.
    void run(const BatchTemplate& documentTemplate);

    /// The job being worked through; null before a list has been chosen or
    /// while the list cannot be programmed.
    const BatchRun* job() const { return run_.get(); }
    /// True while a write runs: the window cannot be closed then.
    bool busy() const { return busy_; }

    // The user's actions.
    void btnBatchTemplateClick();
    void btnBatchJobClick();
    /// Writes and verifies the current row's pager (Write, Enter, F4).
    void btnBatchWriteClick();
    void btnBatchSkipClick();
    void btnBatchRedoClick();
    void btnBatchStopClick();
    void saveDeliveryNote();
    void printDeliveryNote();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Close, Escape and the close box end here; never during a write
    /// (Escape then cancels it, and the row is failed).
    void done(int result) override;

private:
    // LinkSink: what the link reports while it writes.
    void status(const Message& text, bool busy) override;
    void progressRange(int first, int last) override;
    void progress(int position) override;

    std::string text(const Message& message) const;
    /// Reads and checks the chosen list over the template; shows the rows,
    /// or the refused values.
    void loadJob();
    /// Takes back what the programming log holds of an earlier run of the
    /// list, when the user wants to go on with it.
    void resumeFromLog();
    void showRows();
    void showRow(std::size_t k);
    void showPrompt();
    void enableButtons();
    void pollWhileIdle();

    std::unique_ptr<Ui::frmBatch> ui_;
    BoardSession& board_;
    Notifier& notifier_;
    BatchHooks hooks_;
    BatchTemplate template_;
    QString jobPath_;
    std::unique_ptr<BatchRun> run_;
    int refusedRows_ = 0;
    bool customerTyped_ = false;  ///< the user typed the customer: the list's column does not replace it
    QTimer* idlePoll_ = nullptr;
    bool busy_ = false;
    bool writing_ = false;  ///< a row's write runs (its verify marks the row written)
};

}  // namespace zrv::link::ui
