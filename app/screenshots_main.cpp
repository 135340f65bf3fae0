// zrv41k-screenshots DIR [--size WIDTHxHEIGHT]: the main window with each of
// the six pages in front, one PNG per page, and the function bit and alert
// windows and the UI text editor (window-NAME.png) of the default image, once
// with the English texts
// (page-NAME.png) and once with the German texts of the factory catalogue
// (page-NAME-de.png), for the documentation. Without --size the client area
// has its design size; with it, the window is rescaled to that client size
// first (to look at the rescaling), and the files end in -WIDTHxHEIGHT.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "app/companion_windows.h"
#include "app/page_set.h"
#include "editors/alert_window.h"
#include "editors/function_bit_window.h"
#include "i18n/ui/text_editor_window.h"
#include "app/pages/pages.h"
#include "app/silent_notifier.h"
#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"

namespace {

struct Shot {
    const char* selector;
    const char* name;
};
constexpr Shot kShots[] = {{"sedtFC", "page-freq-codes"},   {"sedtAS", "page-alerts-status"},
                           {"sedtPE", "page-prompts"},      {"sedtSP", "page-source-prompts"},
                           {"sedtMT", "page-music-tone"},   {"staticEncryF", "page-aes"}};

/// Prepares \p folder as the working folder of a run in \p language: the
/// factory catalogue beside the program becomes its Language.ini with
/// \p language as the current language.
bool PrepareLanguage(const QString& folder, const char* language) {
    const QString factory =
        QDir(QCoreApplication::applicationDirPath()).filePath(zrv::i18n::kDefaultCatalogueName);
    const QString file = QDir(folder).filePath(zrv::i18n::kLanguageFileName);
    if (!QFile::copy(factory, file)) {
        std::fprintf(stderr, "cannot copy %s\n", factory.toLocal8Bit().constData());
        return false;
    }
    zrv::i18n::ProfileFile profile(file.toStdString());
    return profile.writeString(zrv::i18n::kSettingSection, zrv::i18n::kLanguageKey, language);
}

/// Writes one PNG per page; returns the number of files that failed.
int ShootSet(const QString& out, const char* language, const QString& suffix, QSize clientSize) {
    // A clean folder: no default table, a fresh language file.
    QTemporaryDir folder;
    if (!PrepareLanguage(folder.path(), language)) return 1;
    zrv::app::SilentNotifier notifier;
    zrv::app::Application app(
        zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier));
    zrv::app::MainWindow& main = app.mainWindow();
    main.show();
    QApplication::processEvents();
    if (clientSize.isValid()) {
        main.resize(main.size() - main.centralWidget()->size() + clientSize);
        QApplication::processEvents();
    }
    int failures = 0;
    const auto save = [&](QWidget& window, const char* name) {
        const QString path = QDir(out).filePath(QString::fromLatin1(name) + suffix + ".png");
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
            ++failures;
        } else {
            std::printf("%s\n", path.toLocal8Bit().constData());
        }
    };
    for (const Shot& shot : kShots) {
        if (auto* selector = main.find<QLabel>(shot.selector)) main.pages().pageSelectorClick(selector);
        QApplication::processEvents();
        save(main, shot.name);
    }
    // The companion windows as "Fun. Bit" of the first slot and "Alert
    // Length Select" open them (shown without their modal loop).
    const std::pair<QDialog*, const char*> windows[] = {{app.companions().fm_FunBit, "window-function-bits"},
                                                         {app.companions().frmAlert, "window-alert-lengths"},
                                                         {app.companions().frmLang, "window-text-editor"}};
    for (const auto& [window, name] : windows) {
        window->show();
        QApplication::processEvents();
        save(*window, name);
        window->hide();
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    QSize clientSize;
    QString sizeSuffix;
    if (const int at = arguments.indexOf(QStringLiteral("--size")); at >= 0 && at + 1 < arguments.size()) {
        const auto match = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(arguments[at + 1]);
        if (!match.hasMatch()) {
            std::fprintf(stderr, "--size takes WIDTHxHEIGHT, e.g. 504x335\n");
            return 2;
        }
        clientSize = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        sizeSuffix = QLatin1Char('-') + arguments[at + 1];
        arguments.remove(at, 2);
    }
    if (arguments.size() != 1) {
        std::fprintf(stderr, "Usage: zrv41k-screenshots OUTPUT_FOLDER [--size WIDTHxHEIGHT]\n");
        return 2;
    }
    const QString out = arguments.front();
    QDir().mkpath(out);
    zrv::app::UseDesignFont();
    int failures = ShootSet(out, zrv::i18n::kEnglish, sizeSuffix, clientSize);
    failures += ShootSet(out, zrv::i18n::kGerman, QStringLiteral("-de") + sizeSuffix, clientSize);
    return failures ? 1 : 0;
}
