#include "app/ota_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "app/main_window.h"
#include "core/cp1252.h"
#include "core/document.h"
#include "ota/ui/ota_window.h"

namespace zrv::app {

namespace {

/// The page state and the values of the main-window controls that no
/// refresher sets from the image.
ota::OtaControlValues ControlValues(MainWindow& main) {
    ota::OtaControlValues c;
    const FormState& state = main.state();
    c.capcodePage = state.capcodePage;
    c.musicTypePage = state.musicTypePage;
    c.sourcePage = state.sourcePage;
    const auto text = [&main](const char* name) {
        const auto* edit = main.find<QLineEdit>(QString::fromLatin1(name));
        return edit ? Utf8ToCp1252(edit->text().toStdString()) : std::string();
    };
    const auto checked = [&main](const QString& name) {
        const auto* box = main.find<QCheckBox>(name);
        return box && box->isChecked();
    };
    const auto index = [&main](const char* name) {
        const auto* combo = main.find<QComboBox>(QString::fromLatin1(name));
        return combo ? combo->currentIndex() : 0;
    };
    c.edtRTCCtl = text("edtRTCCtl");
    c.chkReminder = checked(QStringLiteral("chkReminder"));
    c.txtReminder = text("txtReminder");
    c.chkMailDropAlert = checked(QStringLiteral("chkMailDropAlert"));
    c.cboPriType = index("cboPriType");
    c.cboGroupType = index("cboGroupType");
    for (std::size_t k = 1; k < c.chkSource.size(); k += 2)
        c.chkSource[k] = checked(QStringLiteral("chkSource%1").arg(k));
    return c;
}

}  // namespace

void ConnectOtaWindow(MainWindow& main, ota::ui::OtaWindow& window, const QString& encoderPort) {
    window.setEncoderPort(encoderPort);
    ota::ui::OtaWindowSources sources;
    sources.image = &main.image();
    sources.controlValues = [&main] { return ControlValues(main); };
    sources.afterCommand = [&main](int type) {
        if (type == 1)
            main.refreshAll();  // display codes of switched-off capcodes went into the image
        else if (type >= 3 && type <= 17)
            main.refreshSlot(RefreshSlot::MenuPrompts);  // the prompts the command stored
        // What the command stored is one change of the document: modified, undoable.
        main.document().noteChanges(ChangeOrigin::OtaWriteBack);
    };
    window.setSources(std::move(sources));
    QObject::connect(&main, &MainWindow::refreshed, &window, &ota::ui::OtaWindow::mainWindowRefreshed);
    if (QAction* entry = main.action(QStringLiteral("mnuOTA")))
        QObject::connect(entry, &QAction::triggered, &window, [&main, &window] {
            main.commitEditing();  // the field being typed in stores its value first
            window.exec();
        });
}

}  // namespace zrv::app
