// File > Open, Save and Save As on table files, and the default table that
// start-up loads: the checks and the saving itself are the core's table-file
// rules; the window chooses the file, shows the outcome and refreshes.
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>

#include "app/main_window.h"
#include "core/default_image.h"
#include "core/frequency.h"
#include "core/table_file.h"

namespace zrv::app {

namespace {
QString TableFilter() { return QStringLiteral("Table files (*.tbl)"); }
}  // namespace

void MainWindow::updateTableCaption() {
    setWindowTitle(QString::fromStdString(
        CaptionWithTableName(windowTitle().toStdString(), state_.tableFileName)));
}

void MainWindow::mnuOpenClick() { openTableFile(); }

bool MainWindow::openTableFile() {
    std::string path;
    const bool fromDialog = !state_.useCurrentName;
    if (fromDialog) {
        const QString folder = QString::fromStdString(state_.programFolder);
        const QString chosen =
            options_.openDialog
                ? options_.openDialog(this, folder)
                : QFileDialog::getOpenFileName(this, QString(), folder, TableFilter());
        if (chosen.isEmpty()) return false;
        path = chosen.toStdString();
    } else {
        path = state_.tableFileName;
    }
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
    if (const auto error = SaveTableFile(state_.tableFileName, image_, state_.capcodeCount)) {
        notifier_->show(*error);
        return false;
    }
    updateTableCaption();
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
