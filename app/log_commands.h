#pragma once
/// \file
/// The programming log as the desktop program keeps it: every transfer of
/// the board session and every OTA send is recorded when it ends, and the
/// status line says "Logged" or why it could not log; Tools > Programming
/// Log shows the records, "Open this image" brings a recorded pager image
/// back into the main window as one undoable change, and "Compare with
/// current" lists how it differs from the configuration shown. The log is the
/// window's setting, else ZRV41K_LOG_DB, else programming-log.sqlite in
/// the program folder; it is opened when first needed, and a log that
/// cannot be opened or written never stops a transfer.

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/document_commands.h"
#include "core/batch_run.h"
#include "core/pager_operation.h"
#include "log/log_target.h"

#include "log/ui/programming_log_window.h"

namespace zrv::app {

class CompareCommands;
class MainWindow;

class LogCommands : public QObject {
    Q_OBJECT
public:
    /// Records the transfers of \p main's board session; \p settingsFile
    /// holds the window's choice of log (empty: the user's); \p saveDialog
    /// asks for the CSV file of an export (null: the Qt file dialog).
    LogCommands(MainWindow& main, CompareCommands& compare, QString settingsFile, PathDialog saveDialog);
    ~LogCommands() override;

    /// Records \p facts (with the document's table file) and tells the
    /// status line.
    void record(OperationFacts facts);
    /// The customer and note the next records keep (a batch job's row); both
    /// empty: none.
    void annotate(std::string customer, std::string note) {
        customer_ = std::move(customer);
        note_ = std::move(note);
    }
    /// The log's records of the batch job in the file \p job written since
    /// \p sinceUtc (ISO time), newest first, images of verified rows
    /// included; none when the log cannot be read.
    std::vector<BatchLogEntry> batchHistory(const std::string& job, const std::string& sinceUtc);
    /// Tools > Programming Log.
    void mnuProgLogClick();
    /// Brings \p record's image into the main window as a read of that
    /// pager would: one undoable change, the document unsaved.
    void openImage(const proglog::ProgrammingRecord& record);
    /// Lists in the Compare window how \p record's image, as a read of that
    /// pager shows it, differs from the main window's configuration.
    void compareWithCurrent(const proglog::ProgrammingRecord& record);
    /// Makes \p location ("" the default) the window's log and opens it.
    void useDatabase(const QString& location);

    /// The log the window writes to now.
    proglog::LogTarget target() const;
    /// The log window (made on first use).
    proglog::ui::ProgrammingLogWindow& window();

private:
    /// The open log, opened on first use; null (with the reason kept) when
    /// it cannot be opened.
    proglog::ProgrammingLog* log();
    void showLogInWindow();

    MainWindow& main_;
    CompareCommands& compare_;
    QString settingsFile_;
    PathDialog saveDialog_;
    std::unique_ptr<proglog::ProgrammingLog> log_;
    std::string openError_;  ///< why the log last failed to open
    bool openTried_ = false;
    QPointer<proglog::ui::ProgrammingLogWindow> window_;
    std::string customer_;  ///< of the next records (annotate)
    std::string note_;
};

}  // namespace zrv::app
