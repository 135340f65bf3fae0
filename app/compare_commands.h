#pragma once
/// \file
/// The ways into the Compare window: File > Compare With... (this
/// configuration against a table file), Pager > Compare With Pager (against
/// what the pager in the board holds, read into a scratch image: the
/// document stays as it is) and Pager > "Show what will change before
/// writing", remembered in the user's settings, with which Write first
/// reads the pager and asks Write or Cancel over the list. A field chosen in
/// the list is brought to the front of the main window.

#include <QObject>
#include <QString>
#include <memory>

#include "app/document_commands.h"

namespace zrv {
class CompareWindow;
struct FieldDef;
}  // namespace zrv

namespace zrv::app {

class MainWindow;

class CompareCommands : public QObject {
    Q_OBJECT
public:
    /// Connects the menu items of \p main; \p openDialog chooses the file
    /// (null: the Qt file dialog), \p settingsFile holds the option (empty:
    /// the user's settings).
    CompareCommands(MainWindow& main, PathDialog openDialog, QString settingsFile);
    ~CompareCommands() override;

    /// File > Compare With...: the dialog, then compareWithFileAt().
    bool compareWithFile();
    /// Opens \p path as File > Open would (its checks, a short file over
    /// this configuration) without changing the document, and lists how it
    /// differs. A refused file is told and nothing is shown.
    bool compareWithFileAt(const QString& path);
    /// Pager > Compare With Pager: reads the pager and lists what a write
    /// of this configuration would change there.
    bool compareWithPager();
    /// Asked by Write: true at once while the option is off; otherwise
    /// the pager is read and the list asks Write (true) or Cancel.
    bool confirmWrite();
    bool showsChangesBeforeWrite() const;

    /// Brings \p field's control to the front of the main window: its page
    /// selector on the field's page, its page in front, the focus on it.
    void showField(const FieldDef& field);

    CompareWindow& window() { return *window_; }

private:
    MainWindow& main_;
    PathDialog openDialog_;
    QString settingsFile_;
    std::unique_ptr<CompareWindow> window_;
};

}  // namespace zrv::app
