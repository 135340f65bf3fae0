#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QWindow>
#include <algorithm>

#include "app/companion_windows.h"
#include "app/document_commands.h"
#include "app/edit_history.h"
#include "app/gui_notifier.h"
#include "app/input_policy.h"
#include "app/language_commands.h"
#include "app/page_keys.h"
#include "app/page_set.h"
#include "app/pager_menu.h"
#include "app/scanner_input.h"
#include "app/tab_stops.h"
#include "app/window_refresh.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "core/main_window_texts.h"
#include "editors/field_binder.h"
#include "i18n/message_catalogue.h"
#include "link/board_session.h"
#include "ui_main_window.h"

namespace zrv::app {

namespace {

/// Client area of the window at its design size: the six 1000 x 600 pages
/// below the page selectors, the status line and the Lang button below them.
constexpr QSize kDesignClientSize{1008, 670};

/// The controls the default image makes visible (the out-of-range group and
/// the music page selector).
constexpr const char* kShownByDefaultImage[] = {
    "edtPrompt41", "lblPrompt41", "grouOutOfRange", "CheckBox2", "cboORAAlert",
    "edtOORMusic", "btnPreview16", "btnStop16",    "sedtMT"};

std::string WithSeparator(const std::filesystem::path& folder) {
    std::string s = folder.string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

}  // namespace

// FormCreate -------------------------------------------------------------------------

MainWindow::MainWindow(StartupOptions options, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::fm_Main>()), options_(std::move(options)) {
    QApplication::setApplicationName(QString::fromStdString(ApplicationTitle()));
    ui_->setupUi(this);
    centralWidget()->resize(kDesignClientSize);
    resize(kDesignClientSize.width(), kDesignClientSize.height() + menuBar()->sizeHint().height());
    ui_->mnuTool->menuAction()->setVisible(false);  // present, never shown

    PageSet::Hooks pageHooks;
    pageHooks.commitEditing = [this] { commitEditing(); };
    pageHooks.pageChanged = [this] { state_.currentPrompt = -1; };
    pageHooks.rescaled = [this] { sizeTextFields(); };
    pages_ = new PageSet(centralWidget(), ui_->Edit1, kDesignClientSize, std::move(pageHooks));
    setAcceptDrops(true);  // a table file dropped on the window opens
    indexControls();
    InstallInputPolicy(this);  // menu shortcuts over edit keys; the wheel only for a focused setting
    if (options_.maximise) setWindowState(Qt::WindowMaximized);
    registry_.build(centralWidget());
    setUpFolders();
    if (options_.notifier) {
        notifier_ = options_.notifier;
    } else {
        ownNotifier_ = std::make_unique<GuiNotifier>(this, catalogue_.get());
        notifier_ = ownNotifier_.get();
    }
    board_ = std::make_unique<link::BoardSession>(*notifier_);
    board_->setPortOverride(options_.ports);
    // A close that waited for the port is made once the port is free.
    connect(board_.get(), &link::BoardSession::closeMayProceed, this, &QWidget::close);
    pagerMenu_ = std::make_unique<PagerMenu>(*this, *board_);

    // The start-up image with its titles.
    document_.replace(StartupImage(), ChangeOrigin::Replace);
    document_.settle(ChangeOrigin::Open);
    setWindowTitle(QString::fromStdString(MainWindowCaption()));
    state_.versionText = AboutVersionText();
    for (const char* name : kShownByDefaultImage)
        if (QWidget* w = control(name)) w->setVisible(true);

    scanner_ = new ScannerInput(this, [this](const QString& serial) { pagerMenu_->writeScannedSerial(serial); });
    connect(ui_->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->RBtWrite, &QRadioButton::clicked, this, &MainWindow::RBtWriteClick);
    connect(ui_->RBtModify, &QRadioButton::clicked, this, &MainWindow::RBtModifyClick);
    binder_ = std::make_unique<FieldBinder>(*this, centralWidget(), moduleOrder_);
    setUpDocumentCommands();
    language_ = new LanguageCommands(*this, *this, *catalogue_);
    history_ = new EditHistory(*this, *this);

    // The editor modules; the refresh calls them at their slots.
    ownedModules_ = CreateEditorModules();
    for (auto& m : ownedModules_) moduleOrder_.push_back(m.get());
    for (EditorModule* m : moduleOrder_) m->connectHandlers(*this);
    setUpKeyboard();

    language_->startUp();
}

MainWindow::~MainWindow() = default;

void MainWindow::setUpFolders() {
    // The program folder, and the working folder of the language file.
    const std::filesystem::path programFolder =
        options_.programFolder.empty()
            ? std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
            : options_.programFolder;
    const std::filesystem::path workingFolder =
        options_.workingFolder.empty() ? std::filesystem::current_path() : options_.workingFolder;
    state_.programFolder = WithSeparator(programFolder);
    state_.workingFolder = WithSeparator(workingFolder);
    state_.languageFile = state_.workingFolder + i18n::kLanguageFileName;
    document_.setFileName(state_.programFolder + "default.tbl");
    state_.channelSpacingMode = std::clamp(options_.channelSpacingMode, 0, 2);
    catalogue_ = std::make_unique<i18n::MessageCatalogue>(workingFolder, programFolder);
}

void MainWindow::setCompanions(CompanionWindows* companions) {
    companions_ = companions;
    pagerMenu_->setCompanions(companions);
    language_->setCompanions(companions);
}

void MainWindow::indexControls() {
    for (QWidget* w : centralWidget()->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !controls_.contains(name)) controls_.insert(name, w);
    }
    for (QAction* a : findChildren<QAction*>())
        if (!a->objectName().isEmpty()) actions_.insert(a->objectName(), a);
    for (const char* name : {"panCF", "panAS", "pnlMusic"}) pages_->watchBackground(control(name));
}

void MainWindow::setUpKeyboard() {
    // The Tab order from the design geometry, before any rescaling.
    tabStops_ = new TabStops(centralWidget(), ui_->Edit1, [this] { return pages_->currentPanel(); });
    PageKeys::Hooks hooks;
    hooks.text = [this](const char* key, const std::string& english) { return catalogueText(key, english); };
    hooks.firstControl = [this](const QWidget* page) { return tabStops_->firstStopOf(page); };
    pageKeys_ = new PageKeys(*this, *pages_, std::move(hooks));
    connect(language_, &LanguageCommands::captionsApplied, pageKeys_, &PageKeys::followLanguage);
}

// FormShow / FormClose -----------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    scanner_->watch(windowHandle());  // key preview before the focused control
    FormShow();
}

void MainWindow::FormShow() {
    ui_->lblFirmVer->setText(QString());
    ui_->lblFirmVer->setVisible(true);
    ui_->btnINI_Lang->setVisible(true);
    state_.bandText = require(ctl::cboFreq).currentText().toStdString();
    if (options_.probeBoard) board_->probeAtStartUp();  // the program goes on whether or not a board answers
    refreshAll();
    if (!documentCommands_->openDefault()) {
        ShowDesignedDefaults(*this);
        document_.settle(ChangeOrigin::Open);  // the designed defaults are the unchanged state
    }
    if (!options_.openAtStart.empty())
        documentCommands_->openAt(QString::fromStdString(options_.openAtStart.string()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (board_->closeWaitsForPort() || !documentCommands_->mayDiscard()) {
        event->ignore();  // closed once the exchange on the port has ended, or not at all
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void MainWindow::FormClose() { board_->release(); }

// The document: its File menu, drops and the question before it is discarded are DocumentCommands'.

void MainWindow::setUpDocumentCommands() {
    documentCommands_ = new DocumentCommands({this, &document_, notifier_, ui_->mnuRecent,
                                              QString::fromStdString(state_.programFolder), options_.firstDialogFolder,
                                              options_.settingsFile, options_.openDialog, options_.saveDialog,
                                              [this] { ShowLoadedTable(*this); }});
}

// Modify and Write modes ------------------------------------------------------------------------

bool MainWindow::writeMode() const { return ui_->RBtWrite->isChecked(); }

void MainWindow::RBtWriteClick() {
    for (QWidget* w : controls_)
        if (w != ui_->Edit1) w->setEnabled(false);
    ui_->RBtModify->setEnabled(true);
    ui_->RBtWrite->setEnabled(true);
    pages_->enableSelectors();
}

void MainWindow::RBtModifyClick() {
    for (QWidget* w : controls_) w->setEnabled(true);
    applyModifyModeRules();
    for (QWidget* stop : registry_.family(QStringLiteral("btnStop")))
        if (stop) stop->setEnabled(false);
}

// MainForm: what the editors ask of the window ---------------------------------------------------

ConfigImage& MainWindow::image() {
    if (documentCommands_) documentCommands_->scheduleNote();  // what an editor stores is noted after it
    return document_.image();
}

void MainWindow::refreshAll() {
    RunFullRefresh(*this, moduleOrder_, *binder_, *ui_->lblLen);
    emit refreshed();
}

void MainWindow::applyModifyModeRules() {
    for (EditorModule* m : moduleOrder_) m->applyModifyModeRules(*this);
}

void MainWindow::sizeTextFields() { SizeTextFields(*this, *ui_->lblLen); }
void MainWindow::rebuildCapcodePageSelectors() { language_->rebuildCapcodePageSelectors(); }
void MainWindow::commitEditing() { ui_->Edit1->setFocus(Qt::OtherFocusReason); }
void MainWindow::setStatus(const QString& text) { ui_->staMsg->setText(text); }
BoardFacts& MainWindow::board() { return *board_; }

std::string MainWindow::catalogueText(const char* key, const std::string& fallback) const {
    return language_->text(key, fallback);
}

void MainWindow::localise(QDialog& window, const i18n::WindowCaption& caption) { language_->localise(window, caption); }

FunctionBitWindow& MainWindow::functionBitWindow() {
    if (!companions_ || !companions_->fm_FunBit) throw std::logic_error("fm_FunBit was not created");
    return *companions_->fm_FunBit;
}

AlertWindow& MainWindow::alertWindow() {
    if (!companions_ || !companions_->frmAlert) throw std::logic_error("frmAlert was not created");
    return *companions_->frmAlert;
}

}  // namespace zrv::app
