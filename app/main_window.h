#pragma once
/// \file
/// The main window `fm_Main` (Tfm_Main): it assembles the six pages, the
/// editor modules and the objects that own the rest (the document and its
/// commands, the board session and the Pager menu, the language, the page
/// set, the scanner input, the field binder), and keeps the Modify and
/// Write modes. It implements the MainForm interface through which the
/// editor modules reach it.

#include <QHash>
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/startup_options.h"
#include "core/document.h"
#include "editors/main_form.h"

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
class DocumentCommands;
class EditHistory;
class LanguageCommands;
class PageKeys;
class PageSet;
class PagerMenu;
class ScannerInput;
class TabStops;

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
    ConfigImage& image() override;
    Document& document() override { return document_; }
    FormState& state() override { return state_; }
    const ControlRegistry& registry() const override { return registry_; }
    Notifier& notifier() override { return *notifier_; }
    QWidget* window() override { return this; }
    QWidget* control(const QString& name) const override { return controls_.value(name); }
    QAction* action(const QString& name) const override { return actions_.value(name); }
    void refreshAll() override;
    void applyDependentEnablingFirstPart() override { refreshSlot(RefreshSlot::BoundEnabling); }
    void applyModifyModeRules() override;
    void sizeTextFields() override;
    void rebuildCapcodePageSelectors() override;
    void commitEditing() override;
    bool writeMode() const override;
    void setStatus(const QString& text) override;
    void refreshSlot(RefreshSlot slot) override { RunRefreshSlot(moduleOrder_, slot, *this); }
    BoardFacts& board() override;
    std::string catalogueText(const char* key, const std::string& fallback) const override;
    void localise(QDialog& window, const i18n::WindowCaption& caption) override;
    FunctionBitWindow& functionBitWindow() override;
    AlertWindow& alertWindow() override;

    // Modes and the window's own handlers ----------------------------------------
    void FormShow();
    void FormClose();
    void RBtWriteClick();
    void RBtModifyClick();

    // The objects the window assembled --------------------------------------------
    DocumentCommands& documentCommands() { return *documentCommands_; }
    EditHistory& history() { return *history_; }
    link::BoardSession& boardSession() { return *board_; }
    PagerMenu& pagerMenu() { return *pagerMenu_; }
    LanguageCommands& language() { return *language_; }
    PageSet& pages() { return *pages_; }
    /// The View menu and the page keys.
    PageKeys& pageKeys() { return *pageKeys_; }
    ScannerInput& scannerInput() { return *scanner_; }
    i18n::MessageCatalogue& catalogue() { return *catalogue_; }
    /// Every editor module, in refresh order.
    const std::vector<EditorModule*>& modules() const { return moduleOrder_; }

signals:
    /// Emitted after every full refresh (tools and benchmarks wait for it).
    void refreshed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void indexControls();
    void setUpFolders();
    void setUpDocumentCommands();
    void setUpKeyboard();

    std::unique_ptr<Ui::fm_Main> ui_;
    StartupOptions options_;
    Document document_;
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
    QHash<QString, QAction*> actions_;
    std::unique_ptr<FieldBinder> binder_;
    DocumentCommands* documentCommands_ = nullptr;
    EditHistory* history_ = nullptr;
    LanguageCommands* language_ = nullptr;
    PageSet* pages_ = nullptr;
    PageKeys* pageKeys_ = nullptr;
    TabStops* tabStops_ = nullptr;
    ScannerInput* scanner_ = nullptr;
    CompanionWindows* companions_ = nullptr;
    bool shown_ = false;
};

}  // namespace zrv::app
