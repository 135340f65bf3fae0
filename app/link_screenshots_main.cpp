// zrv41k-link-screenshots DIR: the programming window during a whole read
// (progress bar part-way, window-programming-reading.png), after it
// (window-programming-read.png), after one pager of the repeated write
// (window-programming-repeated.png) and the main window's status line with the
// board connected (main-window-board-connected.png) and the status line after
// the board has gone (status-board-disconnected.png), against the board simulator
// beside the program, for the documentation. The read pause is shortened to
// 20 ms (ZRV41K_READ_PAUSE_MS) so that the read takes a few seconds.
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/companion_windows.h"
#include "app/silent_notifier.h"
#include "core/default_image.h"
#include "core/image_rules.h"
#include "link/board_session.h"
#include "link/ui/programming_window.h"

namespace {

bool Save(QWidget& window, const QString& path) {
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv(zrv::link::kReadPauseVariable, "20");
    QApplication qapp(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "Usage: zrv41k-link-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = arguments[1];
    QDir().mkpath(out);
    zrv::app::UseDesignFont();

    // A pager holding the start-up image, in the simulator.
    QTemporaryDir folder;
    zrv::ConfigImage image = zrv::StartupImage();
    zrv::StampIdentityForSave(image);
    zrv::StoreTableChecksum(image);
    const QString table = QDir(folder.path()).filePath(QStringLiteral("pager.tbl"));
    if (FILE* f = std::fopen(table.toLocal8Bit().constData(), "wb")) {
        std::fwrite(image.bytes().data(), 1, zrv::kImageSize, f);
        std::fclose(f);
    }
    QProcess board;
    board.start(QCoreApplication::applicationDirPath() + QStringLiteral("/boardsim"),
                {QStringLiteral("--table"), table, QStringLiteral("--firmware"), QStringLiteral("12")});
    if (!board.waitForStarted(5000) || !board.waitForReadyRead(5000)) {
        std::fprintf(stderr, "boardsim did not start\n");
        return 1;
    }
    const std::string port = board.readLine().trimmed().toStdString();

    zrv::app::SilentNotifier notifier;
    auto options = zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier);
    options.ports = {port};
    options.probeBoard = true;
    zrv::app::Application app(options);
    zrv::app::MainWindow& main = app.mainWindow();
    main.show();
    QApplication::processEvents();

    int failures = 0;
    zrv::link::ui::ProgrammingWindow& form1 = *app.companions().Form1;
    auto* bar = form1.findChild<QProgressBar*>(QStringLiteral("PB1"));
    bool midway = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!form1.isVisible()) return;
        const int span = bar->maximum() - bar->minimum();
        if (!midway && form1.busy() && span > 1000 && bar->value() - bar->minimum() > span * 2 / 5) {
            midway = true;
            failures += !Save(form1, QDir(out).filePath(QStringLiteral("window-programming-reading.png")));
        }
        auto* exit = form1.findChild<QPushButton*>(QStringLiteral("cmdExit"));
        if (!form1.busy() && exit->isVisible()) {
            watch.stop();
            failures += !Save(form1, QDir(out).filePath(QStringLiteral("window-programming-read.png")));
            exit->click();
        }
    });
    watch.start(15);
    main.action(QStringLiteral("mnuRead"))->trigger();
    failures += !midway;
    failures += !Save(main, QDir(out).filePath(QStringLiteral("main-window-board-connected.png")));

    // The repeated write: one pager written with "1st Capcode Auto Increase".
    main.find<QCheckBox>(QStringLiteral("optAuto1"))->click();
    main.find<QRadioButton>(QStringLiteral("RBtWrite"))->click();
    bool pressed = false;
    QTimer cycle;
    QObject::connect(&cycle, &QTimer::timeout, [&] {
        auto* write = form1.findChild<QPushButton*>(QStringLiteral("cmdWrite"));
        if (!form1.isVisible() || form1.busy() || !write->isVisible() || !write->isEnabled()) return;
        if (!pressed) {
            pressed = true;
            write->click();
            return;
        }
        cycle.stop();
        failures += !Save(form1, QDir(out).filePath(QStringLiteral("window-programming-repeated.png")));
        form1.findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    });
    cycle.start(15);
    main.action(QStringLiteral("mnuWrite"))->trigger();
    failures += !pressed;
    // The adapter is pulled out: the next tick turns the status line red.
    board.write("quit\n");
    board.waitForFinished(2000);
    main.boardSession().Timer1Timer();
    auto* status = main.find<QLabel>(QStringLiteral("staMsg"));
    failures += !Save(*status, QDir(out).filePath(QStringLiteral("status-board-disconnected.png")));
    main.close();
    return failures ? 1 : 0;
}
