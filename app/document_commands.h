#pragma once
/// \file
/// The main window's commands on its document: File > Open, Save, Save As
/// and Open Recent, a table file dropped on the window or named on the
/// command line, and the default table of the start-up. The checks and the
/// saving are the document's (core/document.h); this class chooses the file,
/// shows the outcome, keeps the recent list in the user's settings and the
/// table file's name in the caption. It also tells the document, after each
/// thing the user does in any window of the program, to note what changed.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QMimeData;
class QSettings;
class QWidget;

namespace zrv {
class Document;
class Notifier;
}  // namespace zrv

namespace zrv::app {

/// The user's settings of the program: \p file, or the user's configuration
/// folder when it is empty (~/.config/zrv41k/zrv41k.conf).
std::unique_ptr<QSettings> OpenSettings(const QString& file);

/// A file dialog: returns the chosen path, empty when cancelled.
using PathDialog = std::function<QString(QWidget* parent, const QString& folder)>;

struct DocumentCommandsSetup {
    QWidget* window = nullptr;       ///< the main window: dialogs' parent, its caption names the file
    Document* document = nullptr;
    Notifier* notifier = nullptr;
    QMenu* recentMenu = nullptr;     ///< File > Open Recent
    QString programFolder;           ///< the default table's folder, with a trailing '/'
    /// Where the dialogs start when no table file of the user's is open and
    /// none was used before: the documents folder of an installed program,
    /// the current folder of one run from its build.
    QString firstFolder;
    QString settingsFile;            ///< empty: the user's configuration folder
    PathDialog openDialog;           ///< null: the Qt file dialog
    PathDialog saveDialog;           ///< null: the Qt file dialog
    /// Shows a table file just loaded (selectors, refresh); the document is
    /// settled after it, so that what the refresh forces is not a change.
    std::function<void()> showLoaded;
};

class DocumentCommands : public QObject {
    Q_OBJECT
public:
    explicit DocumentCommands(DocumentCommandsSetup setup);

    /// File > Open: the dialog, then openAt().
    bool open();
    /// Opens the chosen table file \p path (the dialog's, the command line's,
    /// a dropped or a recent one) and puts it first in Open Recent.
    bool openAt(const QString& path);
    /// The start-up's default table, when the program folder has one.
    bool openDefault();
    /// File > Save: the document's file, without a dialog.
    bool save();
    /// File > Save As: the dialog (".tbl" added to a name without a
    /// suffix), then the save.
    bool saveAs();

    /// Notes what changed once the events being handled have been (an
    /// editor stored into the image).
    void scheduleNote();

    /// The table files of File > Open Recent, the latest first.
    QStringList recentFiles() const;

    /// True when the document may be discarded: it is unchanged, or the
    /// user answered "Save changes to FILE?" with Discard, or with Save and
    /// the save succeeded. False for Cancel and for a failed save.
    bool mayDiscard();
    /// The folder File > Open and Save As start in: the open table file's
    /// (a file of the user's, not the start-up default), else the last one
    /// used, else the first folder.
    QString dialogFolder() const;

    /// The one local file of a drop, when it is a table file (*.tbl).
    static std::optional<QString> DroppedTableFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Opens a table file dropped on the window; true when the drop was one.
    bool takeTableFileDrop(QObject* watched, QEvent* event);
    bool load(const std::string& path, bool chosen);
    bool saveTo(const std::string& path);
    void showFileName();
    /// The caption shows "*" after the file name while the document is changed.
    void showModified();
    /// Opens \p path without asking first.
    bool openChosen(const QString& path);
    void remember(const std::string& path);
    void storeRecent(const QStringList& list);
    void rebuildRecentMenu();
    /// Open Recent about to show: an entry whose file is gone is disabled.
    void enableRecentEntries();

    DocumentCommandsSetup setup_;
    bool notePending_ = false;
    bool userFile_ = false;  ///< the document's file was opened or saved by the user
};

}  // namespace zrv::app
