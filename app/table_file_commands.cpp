// File > Open, Save and Save As on table files, and the default table that
// start-up loads: the checks and the saving itself are the core's table-file
// rules; the window chooses the file, shows the outcome and refreshes.
#include <QComboBox>
#include <QFileDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <optional>

#include "app/main_window.h"
#include "core/default_image.h"
#include "core/frequency.h"
#include "core/table_file.h"

namespace zrv::app {

namespace {
QString TableFilter() { return QStringLiteral("Table files (*.tbl)"); }

/// The one local file of a drop, when it is a table file (*.tbl).
std::optional<QString> DroppedTableFile(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return std::nullopt;
    const QString path = data->urls().front().toLocalFile();
    if (QFileInfo(path).suffix().compare(QLatin1String("tbl"), Qt::CaseInsensitive) != 0) return std::nullopt;
    return path;
}
}  // namespace

void MainWindow::updateTableCaption() {
    setWindowTitle(QString::fromStdString(
        CaptionWithTableName(windowTitle().toStdString(), state_.tableFileName)));
}

void MainWindow::mnuOpenClick() { openTableFile(); }

bool MainWindow::openTableFile() {
    if (state_.useCurrentName) return loadTableFile(state_.tableFileName, false);
    const QString folder = QString::fromStdString(state_.programFolder);
    const QString chosen = options_.openDialog
                               ? options_.openDialog(this, folder)
                               : QFileDialog::getOpenFileName(this, QString(), folder, TableFilter());
    if (chosen.isEmpty()) return false;
    return openTableFileAt(chosen);
}

bool MainWindow::openTableFileAt(const QString& path) {
    if (!loadTableFile(path.toStdString(), true)) return false;
    rememberRecent(path);
    return true;
}

bool MainWindow::loadTableFile(const std::string& path, bool fromDialog) {
    const TableFileResult result = LoadTableFile(path, image_, state_.capcodeCount, fromDialog);
    // The chosen path becomes the file that Save writes only once it has
    // loaded: a refused file keeps the image, the controls and the caption of
    // the previous one, and a Save must not overwrite the refused file with them.
    if (fromDialog && result.ok) state_.tableFileName = path;
    if (!result.ok) {
        if (result.message) notifier_->show(*result.message);
        return false;
    }
    setVisible(QStringLiteral("lblPrompt42"), true);
    setVisible(QStringLiteral("edtPrompt42"), true);
    selectBandFromImage();
    rebuildCapcodePageSelectors();
    refreshAll();
    updateTableCaption();
    return true;
}

// A table file dropped on the window opens as File > Open does.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedTableFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (const auto path = DroppedTableFile(event->mimeData())) {
        event->acceptProposedAction();
        openTableFileAt(*path);
    }
}

void MainWindow::selectBandFromImage() {
    if (auto* freq = find<QComboBox>(QStringLiteral("cboFreq")))
        if (const auto band = BandFromImage(image_); band && *band < freq->count())
            freq->setCurrentIndex(*band);  // no change handler here
}

void MainWindow::mnuSaveAsClick() { saveTableFileAs(); }

void MainWindow::mnuSaveClick() {
    state_.useCurrentName = true;
    saveTableFileAs();
    state_.useCurrentName = false;
}

bool MainWindow::saveTableFileAs() {
    if (!state_.useCurrentName) {
        const QString folder = QString::fromStdString(state_.programFolder);
        QString chosen;
        if (options_.saveDialog) {
            chosen = options_.saveDialog(this, folder);
        } else {
            QFileDialog dialog(this, QString(), folder, TableFilter());
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(QStringLiteral("tbl"));
            if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                chosen = dialog.selectedFiles().front();
        }
        if (chosen.isEmpty()) return false;
        if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".tbl");
        state_.tableFileName = chosen.toStdString();
    }
    // Held while the file is written, so that a command-line change of the
    // same file runs before or after this save, never in between.
    FileLock lock;
    auto error = LockTableFile(state_.tableFileName, lock);
    if (!error) error = SaveTableFile(state_.tableFileName, image_, state_.capcodeCount);
    if (error) {
        notifier_->show(*error);
        return false;
    }
    updateTableCaption();
    rememberRecent(QString::fromStdString(state_.tableFileName));
    return true;
}

void MainWindow::loadDefaultTable() {
    state_.tableFileName = state_.programFolder + "default.tbl";
    std::error_code ec;
    if (std::filesystem::exists(state_.tableFileName, ec)) {
        state_.useCurrentName = true;
        mnuOpenClick();
        state_.useCurrentName = false;
        return;
    }
    if (auto* freq = find<QComboBox>(QStringLiteral("cboFreq")); freq && freq->count() > 0)
        freq->setCurrentIndex(0);
    for (const char* name : {"cboLng", "cboLogo"}) {
        if (auto* combo = find<QComboBox>(name); combo && combo->count() > kLanguageGerman) {
            combo->setCurrentIndex(kLanguageGerman);
            emit combo->activated(kLanguageGerman);  // its change handler
        }
    }
}

}  // namespace zrv::app
