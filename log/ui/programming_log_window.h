#pragma once
/// \file
/// The programming log's window `frmProgLog` (Tools > Programming Log): the
/// records newest first in a table fetched as it scrolls (time, operation,
/// serial number, first capcode, result, customer), a search box (serial
/// number, SSN, PSN, capcode, the start of the customer's or of the table
/// file's name) and a date range, the chosen record's details, "Open this image"
/// and the export of the records shown as CSV. The window shows what the
/// log holds; what opening an image does to the document and where the log
/// lives are its owner's (LogWindowHooks).

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/notifier.h"
#include "i18n/captions.h"
#include "log/programming_log.h"

class QSqlQueryModel;

namespace Ui {
class frmProgLog;
}

namespace zrv::proglog::ui {

inline constexpr i18n::WindowCaption kProgrammingLogWindow{"frmProgLog", "Programming Log"};

/// What the window asks of its owner. Every member may be left empty.
struct LogWindowHooks {
    /// The text of a message in the current language (default: its English text).
    std::function<std::string(const Message&)> text;
    /// Captions of the window's controls and its title in the current language.
    std::function<void(QDialog&)> localise;
    /// Opens \p record's image in the main window.
    std::function<void(const ProgrammingRecord& record)> openImage;
    /// Lists how \p record's image differs from the main window's, field by field.
    std::function<void(const ProgrammingRecord& record)> compareImage;
    /// The CSV file to export to ("" when the user cancels), from \p suggested.
    std::function<QString(QWidget* parent, const QString& suggested)> saveDialog;
    /// The user chose the log \p location ("" the default): store it as the
    /// window's setting and open it (the owner then calls setLog).
    std::function<void(const QString& location)> useDatabase;
    /// Where messages go.
    Notifier* notifier = nullptr;
};

class ProgrammingLogWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgrammingLogWindow(QWidget* parent = nullptr);
    ~ProgrammingLogWindow() override;

    void setHooks(LogWindowHooks hooks) { hooks_ = std::move(hooks); }
    /// Shows the records of \p log, which stays its owner's (null: the log
    /// at \p location could not be opened, \p problem says why).
    void setLog(ProgrammingLog* log, const QString& location, const QString& problem);

    /// The records the search box and the date range select.
    LogFilter filter() const;
    /// Runs the search again (the box or the dates changed).
    void search();
    /// The record of the selected row, or none.
    std::optional<long long> selectedId() const;
    /// The records shown.
    QSqlQueryModel& model() { return *model_; }

    void btnLogOpenImageClick();
    void btnLogCompareClick();
    void btnLogExportClick();
    void btnLogUseDatabaseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string text(const Message& message) const;
    void showMessage(const Message& message);
    void showDetails();
    /// The selected record whole, when it keeps an image; otherwise tells why not.
    std::optional<ProgrammingRecord> selectedImageRecord();
    void setHeaders();

    std::unique_ptr<Ui::frmProgLog> ui_;
    std::unique_ptr<QSqlQueryModel> model_;
    LogWindowHooks hooks_;
    ProgrammingLog* log_ = nullptr;
};

}  // namespace zrv::proglog::ui
