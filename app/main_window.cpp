#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <algorithm>

#include "app/companion_windows.h"
#include "app/gui_notifier.h"
#include "app/input_policy.h"
#include "app/pager_menu.h"
#include "app/pages/pages.h"
#include "app/window_components.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/frequency.h"
#include "core/image_rules.h"
#include "core/main_window_texts.h"
#include "editors/field_binder.h"
#include "editors/function_bit_window.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "i18n/ui/text_editor_window.h"
#include "link/board_session.h"
#include "ui_main_window.h"

namespace zrv::app {

namespace {

/// Client area of the window at its design size: the six 1000 x 600 pages
/// below the page selectors, the status line and the Lang button below them.
constexpr QSize kDesignClientSize{1008, 670};
constexpr QPoint kPageOrigin{4, 36};

/// Page selectors, their grey labels and their panels, in selector order.
struct PageSelector {
    const char* selector;
    const char* grey;
    pages::PageId page;
};
constexpr PageSelector kSelectors[] = {
    {"sedtFC", "StaticText6", pages::PageId::CF},
    {"sedtAS", "StaticText7", pages::PageId::AS},
    {"sedtPE", "StaticText8", pages::PageId::PE},
    {"sedtSP", "StaticText9", pages::PageId::Source},
    {"sedtMT", "StaticText10", pages::PageId::Music},
    {"staticEncryF", "staticEncryB", pages::PageId::AES},
};

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

    buildPages();
    indexControls();
    InstallInputPolicy(this);  // menu shortcuts over edit keys; the wheel only for a focused setting

    // The design geometry for the rescaling, then maximise.
    rescaler_.remember(centralWidget(), kDesignClientSize);
    if (options_.maximise) setWindowState(Qt::WindowMaximized);

    registry_.build(centralWidget());

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
    for (const char* name : kShownByDefaultImage) setVisible(name, true);

    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    connect(timer2_, &QTimer::timeout, this, &MainWindow::Timer2Timer);
    timer2_->start();

    connectHandlers();
    binder_ = std::make_unique<FieldBinder>(*this, centralWidget(), moduleOrder_);
    setUpDocumentCommands();

    // The editor modules; the refresh calls them at their slots.
    ownedModules_ = CreateEditorModules();
    for (auto& m : ownedModules_) moduleOrder_.push_back(m.get());
    for (EditorModule* m : moduleOrder_) m->connectHandlers(*this);

    // The language file and the start-up language.
    if (const auto language = catalogue_->StartUp()) runLanguageAction(*language);
    if (const auto& problem = catalogue_->startUpProblem()) {
        followLanguage();               // English marked, the designed texts stay
        notifier_->show(*problem);      // said once
    }
    state_.language = catalogue_->currentLanguage();
}

MainWindow::~MainWindow() = default;

void MainWindow::setCompanions(CompanionWindows* companions) {
    companions_ = companions;
    pagerMenu_->setCompanions(companions);
}

BoardFacts& MainWindow::board() { return *board_; }

void MainWindow::buildPages() {
    QWidget* client = centralWidget();
    for (const pages::PageId id : pages::kCreationOrder) {
        QFrame* page = pages::CreatePage(id, client);
        page->move(kPageOrigin);
        page->resize(pages::kPageWidth, pages::kPageHeight);
        page->setAutoFillBackground(true);  // a page in front hides those behind
        page->setMouseTracking(true);
    }
    for (const auto& s : kSelectors) {
        auto* panel = client->findChild<QFrame*>(pages::PanelName(s.page), Qt::FindDirectChildrenOnly);
        auto* selector = client->findChild<QLabel*>(s.selector);
        auto* grey = client->findChild<QLabel*>(s.grey);
        panels_.push_back(panel);
        selectors_.push_back(selector);
        greyLabels_.push_back(grey);
        // A buddy makes the labels show "&&" as one ampersand, as designed.
        if (panel && selector) selector->setBuddy(panel);
        if (panel && grey) grey->setBuddy(panel);
        if (selector) selector->installEventFilter(this);
    }
    RecordCreationOrder(client);  // before the first page is brought to the front
    // panCF in front at design time; the pages behind it are hidden, so that
    // neither Tab nor a click reaches their controls.
    for (QFrame* panel : panels_)
        if (panel && panel != panels_.front()) panel->hide();
    if (panels_.front()) panels_.front()->raise();
    ui_->Edit1->raise();
    client->setMouseTracking(true);
    setAcceptDrops(true);  // a table file dropped on the window opens
    client->installEventFilter(this);
}

void MainWindow::indexControls() {
    for (QWidget* w : centralWidget()->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !controls_.contains(name)) controls_.insert(name, w);
    }
    for (QAction* a : findChildren<QAction*>())
        if (!a->objectName().isEmpty()) actions_.insert(a->objectName(), a);
    for (const char* name : {"panCF", "panAS", "pnlMusic"})
        if (QWidget* panel = control(name)) panel->installEventFilter(this);
}

QWidget* MainWindow::control(const QString& name) const { return controls_.value(name); }
QAction* MainWindow::action(const QString& name) const { return actions_.value(name); }

void MainWindow::connectHandlers() {
    connect(ui_->mnuExit, &QAction::triggered, this, &MainWindow::mnuExitClick);
    connect(ui_->mnuAbout, &QAction::triggered, this, &MainWindow::mnuAboutClick);
    connect(ui_->Advance1, &QAction::triggered, this, &MainWindow::Advance1Click);
    connect(ui_->mnuEnglish, &QAction::triggered, this, &MainWindow::mnuEnglishClick);
    connect(ui_->mnuGerman, &QAction::triggered, this, &MainWindow::mnuGermanClick);
    connect(ui_->mnuEditLang, &QAction::triggered, this, [this] {
        if (companions_ && companions_->frmLang) companions_->frmLang->exec();
    });
    connect(ui_->btnINI_Lang, &QPushButton::clicked, this, &MainWindow::btnINI_LangClick);
    connect(ui_->RBtWrite, &QRadioButton::clicked, this, &MainWindow::RBtWriteClick);
    connect(ui_->RBtModify, &QRadioButton::clicked, this, &MainWindow::RBtModifyClick);
}

// FormShow / FormClose / FormResize -----------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (QWindow* handle = windowHandle()) {
        handle->installEventFilter(this);  // key preview before the focused control
        keyPreviewTarget_ = handle;
    }
    FormShow();
}

void MainWindow::FormShow() {
    ui_->lblFirmVer->setText(QString());
    ui_->lblFirmVer->setVisible(true);
    ui_->btnINI_Lang->setVisible(true);
    if (auto* freq = find<QComboBox>(QStringLiteral("cboFreq")))
        state_.bandText = freq->currentText().toStdString();
    if (options_.probeBoard) board_->probeAtStartUp();  // the program goes on whether or not a board answers
    refreshAll();
    loadDefaultTable();
    if (!options_.openAtStart.empty())
        documentCommands_->openAt(QString::fromStdString(options_.openAtStart.string()));
}

// The document: File > Open, Save, Save As, Open Recent and drops --------------------------------

void MainWindow::setUpDocumentCommands() {
    DocumentCommandsSetup setup;
    setup.window = this;
    setup.document = &document_;
    setup.notifier = notifier_;
    setup.recentMenu = ui_->mnuRecent;
    setup.programFolder = QString::fromStdString(state_.programFolder);
    setup.settingsFile = options_.settingsFile;
    setup.openDialog = options_.openDialog;
    setup.saveDialog = options_.saveDialog;
    setup.showLoaded = [this] { showLoadedTable(); };
    documentCommands_ = new DocumentCommands(std::move(setup));
    connect(ui_->mnuOpen, &QAction::triggered, documentCommands_, &DocumentCommands::open);
    connect(ui_->mnuSave, &QAction::triggered, documentCommands_, &DocumentCommands::save);
    connect(ui_->mnuSaveAs, &QAction::triggered, documentCommands_, &DocumentCommands::saveAs);
}

void MainWindow::showLoadedTable() {
    setVisible(QStringLiteral("lblPrompt42"), true);
    setVisible(QStringLiteral("edtPrompt42"), true);
    selectBandFromImage();
    rebuildCapcodePageSelectors();
    refreshAll();
}

void MainWindow::loadDefaultTable() {
    if (documentCommands_->openDefault()) return;
    if (auto* freq = find<QComboBox>(QStringLiteral("cboFreq")); freq && freq->count() > 0)
        freq->setCurrentIndex(0);
    for (const char* name : {"cboLng", "cboLogo"}) {
        if (auto* combo = find<QComboBox>(name); combo && combo->count() > kLanguageGerman) {
            combo->setCurrentIndex(kLanguageGerman);
            emit combo->activated(kLanguageGerman);  // its change handler
        }
    }
    document_.settle(ChangeOrigin::Open);  // the designed defaults are the unchanged state
}

void MainWindow::selectBandFromImage() {
    if (auto* freq = find<QComboBox>(QStringLiteral("cboFreq")))
        if (const auto band = BandFromImage(image_); band && *band < freq->count())
            freq->setCurrentIndex(*band);  // no change handler here
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (DocumentCommands::DroppedTableFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    // A table file dropped on the window opens as File > Open does.
    if (const auto path = DocumentCommands::DroppedTableFile(event->mimeData())) {
        event->acceptProposedAction();
        documentCommands_->openAt(*path);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (board_->closeWaitsForPort()) {
        event->ignore();  // closed once the exchange on the port has ended
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void MainWindow::FormClose() { board_->release(); }

void MainWindow::mnuExitClick() { close(); }

void MainWindow::FormResize() {
    if (!rescaler_.remembered() || rescaling_) return;
    rescaling_ = true;
    std::vector<QWidget*> hidden;
    for (const char* name : {"panCF", "panAS", "pnlSource", "panPE", "pnlMusic"}) {
        if (QWidget* panel = control(name); panel && !panel->isHidden()) {
            panel->hide();
            hidden.push_back(panel);
        }
    }
    rescaler_.apply(centralWidget()->size());
    for (QWidget* panel : hidden) panel->show();
    rescaling_ = false;
    sizeTextFields();
}

// Modify and Write modes ------------------------------------------------------------------------

bool MainWindow::writeMode() const { return ui_->RBtWrite->isChecked(); }

void MainWindow::RBtWriteClick() {
    for (QWidget* w : controls_)
        if (w != ui_->Edit1) w->setEnabled(false);
    ui_->RBtModify->setEnabled(true);
    ui_->RBtWrite->setEnabled(true);
    for (QLabel* l : selectors_)
        if (l) l->setEnabled(true);
    for (QLabel* l : greyLabels_)
        if (l) l->setEnabled(true);
}

void MainWindow::RBtModifyClick() {
    for (QWidget* w : controls_) w->setEnabled(true);
    applyModifyModeRules();
    for (QWidget* stop : registry_.family(QStringLiteral("btnStop")))
        if (stop) stop->setEnabled(false);
}

void MainWindow::setStatus(const QString& text) { ui_->staMsg->setText(text); }

// Menus: About, Advance ---------------------------------------------------------------

void MainWindow::mnuAboutClick() {
    if (companions_ && companions_->fm_About) companions_->fm_About->exec();
}

void MainWindow::Advance1Click() {
    if (!companions_ || !companions_->PasswordDlg1) return;
    companions_->PasswordDlg1->onAdvance = [this] {
        setVisible(QStringLiteral("Label2"), true);
        setVisible(QStringLiteral("textPass"), true);
    };
    companions_->PasswordDlg1->exec();
}


// Small helpers over named controls ------------------------------------------------------------------

void MainWindow::setVisible(const QString& name, bool on) {
    if (QWidget* w = control(name)) w->setVisible(on);
}

}  // namespace zrv::app
