#include "app/document_commands.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QSessionManager>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "core/document.h"
#include "core/notifier.h"
#include "core/table_file.h"

namespace zrv::app {

namespace {

constexpr const char* kRecentKey = "recentFiles";
constexpr const char* kFolderKey = "lastFolder";
/// Qt's mark in a caption for "changed": shown as "*" while the window is modified.
const QString kModifiedMark = QStringLiteral("[*]");

QString TableFilter() { return QStringLiteral("Table files (*.tbl)"); }

/// The events by which the user changes something: a store follows a
/// click, a key, the wheel, a drop, or an edit losing the focus.
bool UserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Drop:
        case QEvent::FocusOut: return true;
        default: return false;
    }
}

}  // namespace

std::unique_ptr<QSettings> OpenSettings(const QString& file) {
    if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("zrv41k"), QStringLiteral("zrv41k"));
}

DocumentCommands::DocumentCommands(DocumentCommandsSetup setup)
    : QObject(setup.window), setup_(std::move(setup)) {
    rebuildRecentMenu();
    if (setup_.recentMenu) connect(setup_.recentMenu, &QMenu::aboutToShow, this, &DocumentCommands::enableRecentEntries);
    qApp->installEventFilter(this);
    setup_.document->listen([this](const DocumentChange&) { showModified(); });
    QWidget* window = setup_.window;
    connect(window->findChild<QAction*>(QStringLiteral("mnuOpen")), &QAction::triggered, this, &DocumentCommands::open);
    connect(window->findChild<QAction*>(QStringLiteral("mnuSave")), &QAction::triggered, this, &DocumentCommands::save);
    connect(window->findChild<QAction*>(QStringLiteral("mnuSaveAs")), &QAction::triggered, this,
            &DocumentCommands::saveAs);
    // Logging out of the desktop asks as a close does.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!mayDiscard()) manager.cancel();
    });
}

bool DocumentCommands::eventFilter(QObject* watched, QEvent* event) {
    // What the user's action stored is noted once its handlers have run.
    if (UserInput(event->type())) scheduleNote();
    return takeTableFileDrop(watched, event) || QObject::eventFilter(watched, event);
}

bool DocumentCommands::takeTableFileDrop(QObject* watched, QEvent* event) {
    // A table file dropped anywhere on the window, its text fields included
    // (a field would take the drag as text), opens as File > Open does; any
    // other drop keeps the behaviour of the control under it.
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != setup_.window) return false;
    auto* drag = static_cast<QDropEvent*>(event);
    const auto path = DroppedTableFile(drag->mimeData());
    if (!path) return false;
    drag->acceptProposedAction();
    if (type == QEvent::Drop) openAt(*path);
    return true;
}

void DocumentCommands::scheduleNote() {
    if (notePending_) return;
    notePending_ = true;
    QTimer::singleShot(0, this, [this] {
        notePending_ = false;
        setup_.document->noteChanges(ChangeOrigin::Edit);
    });
}

// Open -------------------------------------------------------------------------------------------

bool DocumentCommands::open() {
    if (!mayDiscard()) return false;
    const QString folder = dialogFolder();
    const QString chosen = setup_.openDialog
                               ? setup_.openDialog(setup_.window, folder)
                               : QFileDialog::getOpenFileName(setup_.window, QString(), folder, TableFilter());
    if (chosen.isEmpty()) return false;
    return openChosen(chosen);
}

bool DocumentCommands::openAt(const QString& path) { return mayDiscard() && openChosen(path); }

bool DocumentCommands::openChosen(const QString& path) {
    if (!load(path.toStdString(), true)) return false;
    userFile_ = true;
    remember(path.toStdString());
    return true;
}

bool DocumentCommands::mayDiscard() {
    Document& document = *setup_.document;
    document.noteChanges();
    if (!document.modified()) return true;
    switch (setup_.notifier->askToSave(SaveChangesMessage(document.fileName().filename().string()))) {
        case Notifier::SaveChoice::Save: return document.fileName().empty() ? saveAs() : save();
        case Notifier::SaveChoice::Discard: return true;
        case Notifier::SaveChoice::Cancel: break;
    }
    return false;
}

QString DocumentCommands::dialogFolder() const {
    if (userFile_) return QFileInfo(QString::fromStdString(setup_.document->fileName().string())).absolutePath();
    const QString last = OpenSettings(setup_.settingsFile)->value(kFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    return setup_.firstFolder.isEmpty() ? QDir::currentPath() : setup_.firstFolder;
}

bool DocumentCommands::openDefault() {
    const std::string path = setup_.document->fileName().string();
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return false;
    load(path, false);
    return true;
}

bool DocumentCommands::load(const std::string& path, bool chosen) {
    // A refused file keeps the image, the controls, the caption and the
    // file name of the previous one, so that a Save never overwrites the
    // refused file with them.
    setup_.document->noteChanges();
    const TableFileResult result = setup_.document->open(path, chosen);
    if (!result.ok) {
        if (result.message) setup_.notifier->show(*result.message);
        return false;
    }
    if (setup_.showLoaded) setup_.showLoaded();
    setup_.document->settle(ChangeOrigin::Open);
    showFileName();
    return true;
}

std::optional<QString> DocumentCommands::DroppedTableFile(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return std::nullopt;
    const QString path = data->urls().front().toLocalFile();
    if (QFileInfo(path).suffix().compare(QLatin1String("tbl"), Qt::CaseInsensitive) != 0) return std::nullopt;
    return path;
}

// Save -------------------------------------------------------------------------------------------

bool DocumentCommands::save() { return saveTo(setup_.document->fileName().string()); }

bool DocumentCommands::saveAs() {
    const QString folder = dialogFolder();
    QString chosen;
    if (setup_.saveDialog) {
        chosen = setup_.saveDialog(setup_.window, folder);
    } else {
        QFileDialog dialog(setup_.window, QString(), folder, TableFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("tbl"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().front();
    }
    if (chosen.isEmpty()) return false;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".tbl");
    if (!saveTo(chosen.toStdString())) return false;
    userFile_ = true;
    return true;
}

bool DocumentCommands::saveTo(const std::string& path) {
    setup_.document->noteChanges();
    if (const auto error = setup_.document->saveAs(path)) {
        setup_.notifier->show(*error);
        return false;
    }
    showFileName();
    remember(path);
    return true;
}

void DocumentCommands::showFileName() {
    QWidget* window = setup_.window;
    const QString caption = window->windowTitle().remove(kModifiedMark);
    window->setWindowTitle(QString::fromStdString(
        CaptionWithTableName(caption.toStdString(), setup_.document->fileName().string())));
    showModified();
}

void DocumentCommands::showModified() {
    QWidget* window = setup_.window;
    const bool modified = setup_.document->modified();
    if (modified && !window->windowTitle().contains(kModifiedMark))
        window->setWindowTitle(window->windowTitle() + kModifiedMark);
    if (window->windowTitle().contains(kModifiedMark)) window->setWindowModified(modified);
}

// Open Recent ------------------------------------------------------------------------------------

QStringList DocumentCommands::recentFiles() const {
    return OpenSettings(setup_.settingsFile)->value(kRecentKey).toStringList();
}

void DocumentCommands::storeRecent(const QStringList& list) {
    OpenSettings(setup_.settingsFile)->setValue(kRecentKey, list);
    rebuildRecentMenu();
}

void DocumentCommands::remember(const std::string& path) {
    // The settings hold the list another running program may have changed.
    RecentFiles& recent = setup_.document->recent();
    std::vector<std::string> stored;
    for (const QString& entry : recentFiles()) stored.push_back(entry.toStdString());
    recent.assign(std::move(stored));
    recent.remember(path);
    // The program's own folder (the default table's) is never offered as the user's.
    const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath();
    if (QDir(folder) != QDir(setup_.programFolder)) OpenSettings(setup_.settingsFile)->setValue(kFolderKey, folder);
    QStringList list;
    for (const std::string& entry : recent.entries()) list << QString::fromStdString(entry);
    storeRecent(list);
}

void DocumentCommands::rebuildRecentMenu() {
    QMenu* menu = setup_.recentMenu;
    if (!menu) return;
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
        entry->setData(path);
        entry->setStatusTip(path);
        connect(entry, &QAction::triggered, this, [this, path] {
            if (!QFileInfo::exists(path)) {
                // A file that has gone leaves the list; Open says why.
                QStringList rest = recentFiles();
                rest.removeAll(path);
                storeRecent(rest);
            }
            openAt(path);
        });
    }
    menu->setEnabled(!list.isEmpty());
}

void DocumentCommands::enableRecentEntries() {
    // A file that has gone since the menu was built is shown, but cannot be chosen.
    for (QAction* entry : setup_.recentMenu->actions()) entry->setEnabled(QFileInfo::exists(entry->data().toString()));
}

}  // namespace zrv::app
