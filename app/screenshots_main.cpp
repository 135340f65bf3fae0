// zrv41k-screenshots DIR: the main window at its design size with each of
// the six pages in front, one PNG per page, for the documentation.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "app/pages/pages.h"
#include "app/silent_notifier.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: zrv41k-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    zrv::app::UseDesignFont();

    // A clean folder: no default table, a fresh language file.
    QTemporaryDir folder;
    zrv::app::SilentNotifier notifier;
    zrv::app::Application app(
        zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier));
    zrv::app::MainWindow& main = app.mainWindow();
    main.show();
    QApplication::processEvents();

    const struct {
        const char* selector;
        const char* file;
    } shots[] = {{"sedtFC", "page-freq-codes.png"},    {"sedtAS", "page-alerts-status.png"},
                 {"sedtPE", "page-prompts.png"},       {"sedtSP", "page-source-prompts.png"},
                 {"sedtMT", "page-music-tone.png"},    {"staticEncryF", "page-aes.png"}};
    int failures = 0;
    for (const auto& shot : shots) {
        if (auto* selector = main.find<QLabel>(shot.selector)) main.pageSelectorClick(selector);
        QApplication::processEvents();
        const QString path = QDir(out).filePath(QString::fromLatin1(shot.file));
        if (!main.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
            ++failures;
        } else {
            std::printf("%s\n", path.toLocal8Bit().constData());
        }
    }
    return failures ? 1 : 0;
}
