#pragma once
/// \file
/// The main window `fm_Main` (Tfm_Main): six pages of editors, the menus for
/// table files and pager transfers, Modify and Write modes, the scanner
/// input, and the process-wide state every editor shares. It implements the
/// MainForm interface through which the editor modules reach it.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/kit/proportional_rescaler.h"
#include "app/document_commands.h"
#include "app/scanner_input.h"
#include "core/document.h"
#include "core/image.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace Ui {
class fm_Main;
}

namespace zrv {
class FieldBinder;
}

namespace zrv::i18n {
class MessageCatalogue;
}

namespace zrv::link {
class BoardSession;
}

namespace zrv::app {

class CompanionWindows;
class PagerMenu;

/// How the window starts. The defaults are those of a normal start; tests
/// and tools replace the folders, the dialogs and the board probe.
struct StartupOptions {
    std::filesystem::path programFolder;  ///< empty: the executable's folder
    std::filesystem::path workingFolder;  ///< empty: the current folder
    std::vector<std::string> ports;       ///< --port PATH overrides of discovery
    std::string encoderPort;              ///< --encoder-port PATH of the OTA window
    int channelSpacingMode = 0;           ///< --channel-spacing 0|1|2
    std::filesystem::path openAtStart;    ///< FILE.tbl of the command line, opened after the default table
    /// The settings file of File > Open Recent; empty: the user's
    /// configuration folder (~/.config/zrv41k/zrv41k.conf).
    QString settingsFile;
    bool probeBoard = true;               ///< FormShow probes once for the board
    bool maximise = true;                 ///< FormCreate maximises the window
    Notifier* notifier = nullptr;         ///< nullptr: message boxes
    /// Open / save dialogs: return the chosen path, empty when cancelled.
    /// Default: the Qt file dialogs with the program folder as start.
    PathDialog openDialog;
    PathDialog saveDialog;

    /// A start-up nobody watches (screenshots, benchmarks, tests): program and
    /// working folder \p folder, no board probe, not maximised, messages to
    /// \p notifier.
    static StartupOptions Unattended(const std::filesystem::path& folder, Notifier& notifier) {
        StartupOptions options;
        options.programFolder = folder;
        options.workingFolder = folder;
        options.probeBoard = false;
        options.maximise = false;
        options.notifier = &notifier;
        return options;
    }
};

class MainWindow : public QMainWindow, public MainForm {
    Q_OBJECT
public:
    /// Runs FormCreate: design geometry, registry, folders, default image,
    /// language; connects every handler and the editor modules.
    explicit MainWindow(StartupOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The windows created after the main window (About, password, ...).
    void setCompanions(CompanionWindows* companions);

    // MainForm ------------------------------------------------------------------
    using MainForm::find;  // the control finder, not QWidget::find(WId)
    ConfigImage& image() override { return document_.image(); }
    Document& document() override { return document_; }
    FormState& state() override { return state_; }
    const ControlRegistry& registry() const override { return registry_; }
    Notifier& notifier() override { return *notifier_; }
    QWidget* window() override { return this; }
    QWidget* control(const QString& name) const override;
    QAction* action(const QString& name) const override;
    void refreshAll() override;
    void applyDependentEnablingFirstPart() override;
    void applyModifyModeRules() override;
    void sizeTextFields() override;
    void rebuildCapcodePageSelectors() override;
    void commitEditing() override;
    bool writeMode() const override;
    void setStatus(const QString& text) override;
    void refreshSlot(RefreshSlot slot) override;
    BoardFacts& board() override;
    std::string catalogueText(const char* key, const std::string& fallback) const override;
    void localise(QDialog& window, const i18n::WindowCaption& caption) override;
    FunctionBitWindow& functionBitWindow() override;
    AlertWindow& alertWindow() override;

    // Handlers ----------------------------------------------------------------------
    void FormShow();
    void FormClose();
    void FormResize();
    void mnuExitClick();
    void mnuAboutClick();
    void Advance1Click();
    void mnuEnglishClick();
    void mnuGermanClick();
    void btnINI_LangClick();
    void RBtWriteClick();
    void RBtModifyClick();
    void Timer2Timer();
    /// The programmer board: its polling, port lock and transfers.
    link::BoardSession& boardSession() { return *board_; }
    /// The Pager menu's commands.
    PagerMenu& pagerMenu() { return *pagerMenu_; }
    /// A page selector was clicked: \p selector is sedtFC .. staticEncryF.
    void pageSelectorClick(QLabel* selector);
    /// File > Open, Save, Save As and Open Recent.
    DocumentCommands& documentCommands() { return *documentCommands_; }
    /// Applies the captions of the current language to the main window
    /// (after the UI text editor's Apply, Load and Load Default), with the
    /// language marks.
    void applyCaptions();
    /// Sets cboFreq to the band the image names, without its change handler
    /// (after File > Open and Pager > Read); a band the image does not name
    /// keeps the selection.
    void selectBandFromImage();

    /// The panel of the page in front.
    QFrame* currentPanel() const;
    /// The scanner buffer, for the key preview and its timer.
    const ScannerBuffer& scanner() const { return scanner_; }
    /// The window's design size (client area), the base of the rescaling.
    QSize designSize() const { return rescaler_.designSize(); }
    /// The message catalogue of the working folder's language file.
    i18n::MessageCatalogue& catalogue() { return *catalogue_; }
    /// Every editor module, in refresh order.
    const std::vector<EditorModule*>& modules() const { return moduleOrder_; }
    /// The caption the window had after the last language or file change.
    QString caption() const { return windowTitle(); }

signals:
    /// Emitted after every full refresh (tools and benchmarks wait for it).
    void refreshed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPages();
    void indexControls();
    void connectHandlers();
    void runLanguageAction(const std::string& language);
    /// The language marks, the shared state and the page-numbered texts
    /// follow the catalogue's current language.
    void followLanguage();
    void applyCaptionsToWindow(const std::string& section);
    void setUpDocumentCommands();
    /// Shows a table file just opened: its band, capcode pages and controls.
    void showLoadedTable();
    /// The start-up's default table, or the designed defaults without one.
    void loadDefaultTable();
    /// Key preview: collects scanner characters; true when the key is consumed.
    bool FormKeyPress(QKeyEvent* key);
    void setVisible(const QString& name, bool on);

    std::unique_ptr<Ui::fm_Main> ui_;
    StartupOptions options_;
    Document document_;
    ConfigImage& image_ = document_.image();  ///< the document's image, stored into by the window's own handlers
    DocumentCommands* documentCommands_ = nullptr;
    FormState state_;
    ControlRegistry registry_;
    std::unique_ptr<Notifier> ownNotifier_;
    Notifier* notifier_ = nullptr;
    std::unique_ptr<i18n::MessageCatalogue> catalogue_;
    std::unique_ptr<link::BoardSession> board_;
    std::unique_ptr<PagerMenu> pagerMenu_;
    std::vector<std::unique_ptr<EditorModule>> ownedModules_;
    std::vector<EditorModule*> moduleOrder_;
    QHash<QString, QWidget*> controls_;
    std::unique_ptr<FieldBinder> binder_;  ///< the hint-bound boxes and combos
    QHash<QString, QAction*> actions_;
    std::vector<QFrame*> panels_;
    std::vector<QLabel*> selectors_;
    std::vector<QLabel*> greyLabels_;
    kit::ProportionalRescaler rescaler_;
    ScannerBuffer scanner_;
    QTimer* timer2_ = nullptr;
    CompanionWindows* companions_ = nullptr;
    bool shown_ = false;
    bool rescaling_ = false;
    QPointer<QObject> keyPreviewTarget_;
};

}  // namespace zrv::app
