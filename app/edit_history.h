#pragma once
/// \file
/// Undo and redo of the main window's document: every change the user
/// makes (in any editor or companion window, a read from a pager, a
/// write's raised capcodes) is one step of a QUndoStack holding the bytes
/// it changed; opening a table file starts a new history. The Edit menu's
/// Undo (Ctrl+Z) and Redo (Ctrl+Y, Ctrl+Shift+Z) name the step ("Undo
/// capcode 2"); a text field with the focus undoes its own typing first.

#include <QObject>
#include <QUndoStack>
#include <cstdint>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace zrv {
class MainForm;
struct DocumentChange;
}  // namespace zrv

namespace zrv::app {

class EditHistory : public QObject {
    Q_OBJECT
public:
    /// Adds the Edit menu to \p window and follows the document of \p form.
    EditHistory(QMainWindow& window, MainForm& form);
    /// The stack's last signals, while it clears itself, come after the
    /// window's language has gone: nobody listens to them.
    ~EditHistory() override { disconnect(&stack_, nullptr, this, nullptr); }

    QUndoStack& stack() { return stack_; }
    QAction& undoAction() { return *undo_; }
    QAction& redoAction() { return *redo_; }

    /// One changed run of bytes as it was and as it became.
    struct Run {
        std::size_t offset = 0;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };
    /// Puts the bytes of one side of \p runs into the image, then shows it.
    void apply(const std::vector<Run>& runs, bool forward);

private:
    void heard(const DocumentChange& change);
    void updateTexts();

    MainForm& form_;
    QUndoStack stack_;
    QMenu* menu_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    bool applying_ = false;
};

}  // namespace zrv::app
