// zrv41k-accessibility-tour [--german]: the program with every window up at
// once, for a screen-reader check from outside (tests/accessibility). The
// main window stands at the top left; every companion window is shown beside
// it, without its modal loop, localised as opening it would: the function
// bits, alert lengths, text editor, About, Advance Password, programming,
// OTA, compare, connection check, programming log and Batch Job windows.
// With --german the run starts in German. Prints "ready" once everything is
// shown and runs until it is ended.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "app/companion_windows.h"
#include "app/compare_commands.h"
#include "app/connection_commands.h"
#include "app/log_commands.h"
#include "app/silent_notifier.h"
#include "editors/alert_window.h"
#include "editors/compare_window.h"
#include "editors/function_bit_window.h"
#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"
#include "i18n/ui/text_editor_window.h"
#include "link/ui/batch_window.h"
#include "link/ui/connection_check_window.h"
#include "link/ui/programming_window.h"
#include "log/log_target.h"
#include "ota/ui/ota_window.h"

namespace {

/// The factory catalogue as the working folder's language file, starting in \p language.
bool PrepareLanguage(const QString& folder, const char* language) {
    const QString factory =
        QDir(QCoreApplication::applicationDirPath()).filePath(zrv::i18n::kDefaultCatalogueName);
    const QString file = QDir(folder).filePath(zrv::i18n::kLanguageFileName);
    if (!QFile::copy(factory, file)) return false;
    zrv::i18n::ProfileFile profile(file.toStdString());
    return profile.writeString(zrv::i18n::kSettingSection, zrv::i18n::kLanguageKey, language);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    const bool german = QApplication::arguments().contains(QStringLiteral("--german"));
    zrv::app::UseDesignFont();
    QTemporaryDir folder;
    if (!PrepareLanguage(folder.path(), german ? zrv::i18n::kGerman : zrv::i18n::kEnglish)) {
        std::fputs("cannot prepare the language file\n", stderr);
        return 1;
    }
    // The programming log of this run stays in its folder.
    qputenv(zrv::proglog::kLogDatabaseVariable, QDir(folder.path()).filePath(QStringLiteral("log.sqlite")).toLocal8Bit());
    zrv::app::SilentNotifier notifier;
    zrv::app::Application app(zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier));
    zrv::app::MainWindow& main = app.mainWindow();
    main.move(0, 0);
    main.show();
    QApplication::processEvents();

    zrv::app::CompanionWindows& c = app.companions();
    main.localise(*c.Form1, zrv::i18n::kProgrammingWindow);
    auto* batch = new zrv::link::ui::BatchWindow(main.boardSession(), notifier, &main);
    main.localise(*batch, zrv::link::ui::kBatchWindow);
    app.logCommands().mnuProgLogClick();
    QDialog* log = main.findChild<QDialog*>(QString::fromLatin1(zrv::proglog::ui::kProgrammingLogWindow.key));
    QDialog* windows[] = {c.fm_FunBit, c.frmAlert,  c.frmLang, c.fm_About, c.PasswordDlg1,
                          c.Form1,     c.frmOTA,    &app.compareCommands().window(),
                          &app.connection().checkWindow(), log, batch};
    // Side by side to the right of the main window, so none covers a page selector.
    int x = main.frameGeometry().right() + 10;
    for (QDialog* w : windows) {
        if (!w) {
            std::fputs("a companion window is missing\n", stderr);
            return 1;
        }
        w->setWindowModality(Qt::NonModal);  // the main window stays clickable
        w->move(x, 0);
        w->show();
        x += 40;
        QApplication::processEvents();
    }
    std::puts("ready");
    std::fflush(stdout);
    return QApplication::exec();
}
