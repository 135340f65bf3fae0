// zrv41k-batch-screenshot DIR: the Batch Job window part-way through a list
// of four pagers (one verified, one skipped, the third to be written next:
// window-batch-job.png) and with a list whose third row a rule refuses
// (window-batch-job-refused.png), against the board simulator beside the
// program, for the documentation.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/silent_notifier.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "link/ui/batch_window.h"

namespace {

bool Save(QWidget& window, const QString& path) {
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    return true;
}

bool WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv(zrv::link::kReadPauseVariable, "0");
    QApplication qapp(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "Usage: zrv41k-batch-screenshot OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = arguments[1];
    QDir().mkpath(out);
    zrv::app::UseDesignFont();

    // A pager holding the start-up image, in the simulator; the two lists.
    QTemporaryDir folder;
    const QDir here(folder.path());
    zrv::ConfigImage image = zrv::StartupImage();
    zrv::StampIdentityForSave(image);
    zrv::StoreTableChecksum(image);
    const QString table = here.filePath(QStringLiteral("pager.tbl"));
    const QString list = here.filePath(QStringLiteral("ward-7.csv"));
    const QString refused = here.filePath(QStringLiteral("ward-8.csv"));
    const bool written =
        WriteText(table, QByteArray(reinterpret_cast<const char*>(image.bytes().data()), zrv::kImageSize)) &&
        WriteText(list, "name,capcode.1,capcode.2,prompt.0,customer\n"
                        "Ward 7 Nurse 1,1301,1401,Nurse 1,St. Mary's Hospital\n"
                        "Ward 7 Nurse 2,1302,1402,Nurse 2,\n"
                        "Ward 7 Nurse 3,1303,1403,Nurse 3,\n"
                        "Ward 7 Doctor,1304,1404,Doctor,\n") &&
        WriteText(refused, "name,capcode.1\nWard 8 Nurse 1,1311\nWard 8 Nurse 2,1312\nWard 8 Nurse 3,5\n");
    if (!written) {
        std::fprintf(stderr, "cannot write the files in %s\n", folder.path().toLocal8Bit().constData());
        return 1;
    }
    QProcess board;
    board.start(QCoreApplication::applicationDirPath() + QStringLiteral("/boardsim"),
                {QStringLiteral("--table"), table, QStringLiteral("--serial"), QStringLiteral("ZR4100000731")});
    if (!board.waitForStarted(5000) || !board.waitForReadyRead(5000)) {
        std::fprintf(stderr, "boardsim did not start\n");
        return 1;
    }
    const std::string port = board.readLine().trimmed().toStdString();

    zrv::app::SilentNotifier notifier;
    auto options = zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier);
    options.ports = {port};
    options.probeBoard = true;
    QString nextOpen;
    options.openDialog = [&nextOpen](QWidget*, const QString&) { return nextOpen; };
    zrv::app::Application app(options);
    zrv::app::MainWindow& main = app.mainWindow();
    main.show();
    QApplication::processEvents();

    int failures = 0;
    bool shown = false;
    QTimer steps;
    QObject::connect(&steps, &QTimer::timeout, [&] {
        auto* window = main.findChild<zrv::link::ui::BatchWindow*>(QStringLiteral("frmBatch"));
        if (!window || !window->isVisible()) return;
        steps.stop();
        shown = true;
        const auto button = [window](const char* name) { return window->findChild<QPushButton*>(name); };
        nextOpen = refused;
        button("btnBatchJob")->click();
        failures += !Save(*window, QDir(out).filePath(QStringLiteral("window-batch-job-refused.png")));
        nextOpen = list;
        button("btnBatchJob")->click();
        QTest::keyClick(window, Qt::Key_Return);  // the first pager, written and verified
        button("btnBatchSkip")->click();          // the second is not at hand
        failures += !Save(*window, QDir(out).filePath(QStringLiteral("window-batch-job.png")));
        button("btnBatchClose")->click();
    });
    steps.start(15);
    main.findChild<QAction*>(QStringLiteral("mnuBatchJob"))->trigger();
    failures += !shown;
    main.close();
    return failures ? 1 : 0;
}
