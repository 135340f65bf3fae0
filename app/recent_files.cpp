// File > Open Recent: the last eight table files opened or saved, kept with
// QSettings in the user's configuration folder (the one setting besides the
// language). Choosing one opens it as File > Open does.
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <memory>

#include "app/main_window.h"
#include "ui_main_window.h"

namespace zrv::app {

namespace {

constexpr int kRecentCount = 8;
constexpr const char* kRecentKey = "recentFiles";

std::unique_ptr<QSettings> OpenSettings(const QString& file) {
    if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("zrv41k"), QStringLiteral("zrv41k"));
}

}  // namespace

QStringList MainWindow::recentFiles() const {
    return OpenSettings(options_.settingsFile)->value(kRecentKey).toStringList();
}

void MainWindow::rememberRecent(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = recentFiles();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kRecentCount) list.removeLast();
    OpenSettings(options_.settingsFile)->setValue(kRecentKey, list);
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
    QMenu* menu = ui_->mnuRecent;
    // The entry being chosen may be the one whose choice rebuilds the menu:
    // the old entries go once their signal has returned.
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    const QStringList list = recentFiles();
    int n = 0;
    for (const QString& path : list) {
        ++n;
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(n).arg(QFileInfo(path).fileName()));
        entry->setToolTip(path);
        entry->setStatusTip(path);
        connect(entry, &QAction::triggered, this, [this, path] {
            if (!QFileInfo::exists(path)) {
                // A file that has gone leaves the list; Open says why.
                QStringList rest = recentFiles();
                rest.removeAll(path);
                OpenSettings(options_.settingsFile)->setValue(kRecentKey, rest);
                rebuildRecentMenu();
            }
            openTableFileAt(path);
        });
    }
    menu->setEnabled(!list.isEmpty());
}

}  // namespace zrv::app
