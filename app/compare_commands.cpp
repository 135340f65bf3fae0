#include "app/compare_commands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include "app/main_window.h"
#include "app/page_set.h"
#include "app/pager_menu.h"
#include "core/field_compare.h"
#include "core/pager_comparison.h"
#include "core/table_file.h"
#include "editors/compare_window.h"
#include "link/board_session.h"

namespace zrv::app {

namespace {

constexpr const char* kShowChangesKey = "showChangesBeforeWrite";

const Message kUnreadWriteAnyway{"MsgCmpUnreadWrite",
                                 "What the pager holds could not be read, so what a write changes cannot be shown. "
                                 "Write anyway?"};

}  // namespace

CompareCommands::CompareCommands(MainWindow& main, PathDialog openDialog, QString settingsFile)
    : main_(main), openDialog_(std::move(openDialog)), settingsFile_(std::move(settingsFile)),
      window_(std::make_unique<CompareWindow>(main)) {
    // A window of its own, not one of the main window's components; it
    // does not keep the program running once the main window has closed.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    window_->onFieldChosen = [this](const FieldDef& field) { showField(field); };
    connect(&main_.requireAction(QStringLiteral("mnuCompareWith")), &QAction::triggered, this,
            &CompareCommands::compareWithFile);
    connect(&main_.requireAction(QStringLiteral("mnuComparePager")), &QAction::triggered, this,
            &CompareCommands::compareWithPager);
    QAction& option = main_.requireAction(QStringLiteral("mnuShowChanges"));
    option.setChecked(OpenSettings(settingsFile_)->value(kShowChangesKey, false).toBool());
    connect(&option, &QAction::toggled, this,
            [this](bool on) { OpenSettings(settingsFile_)->setValue(kShowChangesKey, on); });
    main_.pagerMenu().setWriteConfirmation([this] { return confirmWrite(); });
}

CompareCommands::~CompareCommands() { main_.pagerMenu().setWriteConfirmation({}); }

bool CompareCommands::showsChangesBeforeWrite() const {
    return main_.requireAction(QStringLiteral("mnuShowChanges")).isChecked();
}

// With a table file -------------------------------------------------------------------------------

bool CompareCommands::compareWithFile() {
    const QString folder = main_.documentCommands().dialogFolder();
    const QString chosen = openDialog_ ? openDialog_(&main_, folder)
                                       : QFileDialog::getOpenFileName(&main_, QString(), folder,
                                                                      QStringLiteral("Table files (*.tbl)"));
    return !chosen.isEmpty() && compareWithFileAt(chosen);
}

bool CompareCommands::compareWithFileAt(const QString& path) {
    main_.commitEditing();  // the field being edited is part of this configuration
    QApplication::processEvents();
    const Document& document = main_.document();
    // The file as File > Open would leave the image: a short file keeps
    // the rest of this configuration.
    ConfigImage other = document.image();
    int capcodeCount = document.capcodeCount();
    const TableFileResult result = LoadTableFile(path.toStdString(), other, capcodeCount);
    if (!result.ok) {
        if (result.message) main_.notifier().show(*result.message);
        return false;
    }
    window_->showComparison(CompareImages(document.image(), other), TheFileHeading(), QFileInfo(path).fileName());
    return true;
}

// With the pager ----------------------------------------------------------------------------------

namespace {

/// What a write of \p main's configuration would change on the pager read into \p pager.
ImageComparison WriteComparison(MainWindow& main, const ConfigImage& pager) {
    const ConfigImage& image = main.document().image();
    return CompareWriteWithPager(image, pager, BandForWrite(main, image), main.boardSession().keepsPagerSerial());
}

}  // namespace

bool CompareCommands::compareWithPager() {
    main_.commitEditing();
    QApplication::processEvents();
    ConfigImage pager;
    if (!main_.pagerMenu().readPagerInto(pager)) return false;
    window_->showComparison(WriteComparison(main_, pager), ThePagerHeading(), QString());
    return true;
}

bool CompareCommands::confirmWrite() {
    if (!showsChangesBeforeWrite()) return true;
    ConfigImage pager;
    // A pager that cannot be read (a blank one, say) may still be written.
    if (!main_.pagerMenu().readPagerInto(pager)) return main_.notifier().ask(kUnreadWriteAnyway);
    return window_->askBeforeWrite(WriteComparison(main_, pager));
}

// Showing a field ---------------------------------------------------------------------------------

void CompareCommands::showField(const FieldDef& field) {
    if (field.objectName.empty()) return;  // shown by the function bit or alert window
    main_.commitEditing();
    if (!field.pageSelector.empty()) {
        auto& selector = main_.require<QComboBox>(QString::fromStdString(field.pageSelector));
        if (field.page >= selector.count()) return;  // a page the capcode count does not offer
        if (selector.currentIndex() != field.page) {
            selector.setCurrentIndex(field.page);
            emit selector.activated(field.page);  // its handler shows the page's rows
        }
    }
    QWidget* control = main_.control(QString::fromStdString(ShownByControl(field, main_.document().image())));
    if (!control || !main_.pages().showPageOf(control)) return;
    main_.raise();
    main_.activateWindow();
    if (control->isVisibleTo(&main_) && control->isEnabled()) control->setFocus(Qt::OtherFocusReason);
}

}  // namespace zrv::app
